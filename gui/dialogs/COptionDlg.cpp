#include "gui/dialogs/COptionDlg.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/COptionColor.h"
#include "gui/dialogs/COptionDelete.h"
#include "gui/dialogs/COptionDirList.h"
#include "gui/dialogs/COptionFileContextMenu.h"
#include "gui/dialogs/COptionInterface.h"
#include "gui/dialogs/CTitleBarWinFrame.h"
#include "gui/dialogs/CTreeSelCtrl.h"
#include "gui/dialogs/DialogUnits.h"
#include "gui/dialogs/OptionPageControls.h"
#include "settings/SettingFile.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

using paradrex::OptionPage;
using paradrex::OptionSheet;

namespace {

// Margins around and between the tree, the page area and the buttons.
constexpr int kMargin = 6;
constexpr int kTreeWidth = 160;
constexpr int kPageRole = Qt::UserRole;

} // namespace

COptionDlg::COptionDlg(QWidget* parent, paradrex::_Setting_file& settings, CTypeIconCache& types)
    : QDialog(parent), sheet_(settings), settings_(settings), types_(types) {
    setWindowTitle(Utf8Text(OptionSheet::kCaption));
    setObjectName(QStringLiteral("id101"));
    setModal(true);
    BuildControls();
}

COptionDlg::~COptionDlg() = default;

void COptionDlg::BuildControls() {
    du_ = std::make_unique<DialogUnits>(font());
    // The pages share one size, so they all fit the sheet laid out around
    // the first; the units grow until every page's texts fit.
    COptionDirList::FitTexts(*du_);
    COptionDelete::FitTexts(*du_);
    COptionColor::FitTexts(*du_);
    COptionInterface::FitTexts(*du_);
    COptionFileContextMenu::FitTexts(*du_);
    du_->Fit(QStringLiteral("&Cancel"), 50 - 8);

    tree_ = new HV::CTreeSelCtrl(this);
    tree_->setObjectName(QStringLiteral("pageTree"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setColumnCount(1);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->header()->setStretchLastSection(true);
    for (size_t i = 0; i < OptionSheet::kPageCount; ++i) {
        auto* item = new QTreeWidgetItem(tree_, {Utf8Text(OptionSheet::kPageTitles[i])});
        item->setData(0, kPageRole, qulonglong(i));
    }
    frame_ = new HV::CTitleBarWinFrame(this);
    frame_->setObjectName(QStringLiteral("titleFrame"));
    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setObjectName(QStringLiteral("id1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("id2"));

    // Laid out from the page's size: the tree as high as the page area, the
    // buttons under them at the right.
    const QSize frameSize =
        frame_->SizeFor(du_->Rect(0, 0, optionpage::kWidth, optionpage::kHeight).size());
    // The tree is as wide as its longest text needs, at least 160 pixels.
    const int treeWidth = std::max(kTreeWidth, tree_->ContentWidth() + 4);
    tree_->setGeometry(kMargin, kMargin, treeWidth, frameSize.height());
    frame_->setGeometry(kMargin + treeWidth + kMargin, kMargin, frameSize.width(),
                        frameSize.height());
    const int width = frame_->geometry().right() + 1 + kMargin;
    const QSize button = du_->Rect(0, 0, 50, 14).size();
    const int buttonY = kMargin + frameSize.height() + kMargin;
    cancel_->setGeometry(width - kMargin - button.width(), buttonY, button.width(),
                         button.height());
    ok_->setGeometry(cancel_->x() - du_->X(4) - button.width(), buttonY, button.width(),
                     button.height());
    setFixedSize(width, buttonY + button.height() + kMargin);

    tree_->SetSelectionChanging(
        [this](QTreeWidgetItem* item) { return OnSelectionChanging(item); });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            ShowPage(item->data(0, kPageRole).toULongLong());
    });
    connect(ok_, &QPushButton::clicked, this, &COptionDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &COptionDlg::reject);

    // The tree may have made its first item current already.
    tree_->setCurrentItem(tree_->topLevelItem(int(sheet_.currentPage())));
    ShowPage(sheet_.currentPage());
    tree_->setFocus();
}

bool COptionDlg::OnSelectionChanging(QTreeWidgetItem* item) {
    if (!item)
        return false;
    if (std::optional<std::string> refusal =
            sheet_.SelectPage(item->data(0, kPageRole).toULongLong())) {
        // Shown once the tree has dealt with the click or key that asked.
        QMetaObject::invokeMethod(
            this, [this, message = *refusal] { ShowRefusal(message); }, Qt::QueuedConnection);
        return false;
    }
    return true;
}

void COptionDlg::ShowPage(size_t page) {
    if (!pages_[page])
        pages_[page] = MakePage(page);
    for (QWidget* other : pages_)
        if (other && other != pages_[page])
            other->hide();
    pages_[page]->show();
    frame_->SetTitle(Utf8Text(sheet_.title()));
}

QWidget* COptionDlg::MakePage(size_t page) {
    QWidget* w = nullptr;
    switch (page) {
    case OptionSheet::kSearchDirectories:
    case OptionSheet::kPreserveDirectories:
    case OptionSheet::kDeleteDirectories:
        w = new COptionDirList(sheet_.dirListPage(page), *du_, frame_);
        break;
    case OptionSheet::kDeleteOption:
        w = new COptionDelete(sheet_.deletePage(), *du_, frame_);
        break;
    case OptionSheet::kColorScheme:
        w = new COptionColor(
            sheet_.colorPage(), *du_, types_, states_,
            [this] {
                // As the "Custom Interface" page shows it, once it was shown.
                return paradrex::ListStyleOf(sheet_.WasShown(OptionSheet::kCustomInterface)
                                                 ? sheet_.interfacePage().listStyle()
                                                 : settings_.interfaceStyle.ListViewStyle.value);
            },
            frame_);
        break;
    case OptionSheet::kCustomInterface:
        w = new COptionInterface(sheet_.interfacePage(), *du_, types_, states_, frame_);
        break;
    default:
        w = new COptionFileContextMenu(sheet_.fileContextMenuPage(), *du_, frame_);
        break;
    }
    w->setObjectName(QStringLiteral("page%1").arg(page));
    w->move(frame_->PageOrigin());
    // Tab goes from the tree through the page's controls to the buttons.
    QWidget* previous = tree_;
    for (QWidget* control : w->findChildren<QWidget*>()) {
        if (control->isWindow() || control->focusPolicy() == Qt::NoFocus)
            continue;
        setTabOrder(previous, control);
        previous = control;
    }
    setTabOrder(previous, ok_);
    setTabOrder(ok_, cancel_);
    return w;
}

void COptionDlg::accept() {
    if (std::optional<std::string> refusal = sheet_.Accept()) {
        ShowRefusal(*refusal);
        return;
    }
    QDialog::accept();
}

void COptionDlg::ShowRefusal(const std::string& message) {
    QMessageBox box(QMessageBox::Critical, Utf8Text(OptionPage::kErrorCaption), Utf8Text(message),
                    QMessageBox::Ok, pages_[sheet_.currentPage()]);
    box.exec();
}
