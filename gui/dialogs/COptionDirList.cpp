#include "gui/dialogs/COptionDirList.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/CBalloonTip.h"
#include "gui/dialogs/FolderChooser.h"
#include "gui/dialogs/OptionPageControls.h"
#include "gui/panes/CResultPanes.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

using namespace optionpage;
using paradrex::DirectoryAddRule;

namespace {

constexpr int kPathRole = Qt::UserRole;

struct ButtonPlace {
    int id;
    const char* text;
    int y;
};
constexpr ButtonPlace kButtons[] = {
    {1003, "&Browse...", 7}, {1004, "&Add", 27}, {1006, "&Remove", 45}};
constexpr int kButtonX = 200, kButtonWidth = 50, kButtonHeight = 14;

} // namespace

void COptionDirList::FitTexts(DialogUnits& du) {
    for (const ButtonPlace& b : kButtons)
        du.Fit(QString::fromLatin1(b.text), kButtonWidth - 8);
}

COptionDirList::COptionDirList(paradrex::OptionDirListPage& page, const DialogUnits& du,
                               QWidget* parent)
    : QWidget(parent), page_(page) {
    resize(du.Rect(0, 0, kWidth, kHeight).size());
    edit_ = Placed(new QLineEdit(this), 1002, du.Rect(7, 7, 187, 14));
    QPushButton* buttons[3] = {};
    for (size_t i = 0; i < std::size(kButtons); ++i) {
        const ButtonPlace& b = kButtons[i];
        buttons[i] = Placed(new QPushButton(QString::fromLatin1(b.text), this), b.id,
                            du.Rect(kButtonX, b.y, kButtonWidth, kButtonHeight));
        if (i == 0) {
            // The list comes between "&Browse..." and "&Add" in the tab order.
            list_ = Placed(new QTreeView(this), 1005, du.Rect(7, 27, 187, 159));
        }
    }
    rows_ = new QStandardItemModel(0, 1, list_);
    rows_->setHorizontalHeaderLabels({QStringLiteral("Name")});
    list_->setModel(rows_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->header()->setStretchLastSection(true);
    list_->header()->setSectionsMovable(false);
    list_->installEventFilter(this);

    balloon_ = new CBalloonTip(edit_);
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (page_.TimerTick(balloon_->isVisible()))
            balloon_->hide();
    });
    timer_.start();

    connect(edit_, &QLineEdit::textEdited, balloon_, &QWidget::hide);
    connect(buttons[0], &QPushButton::clicked, this, &COptionDirList::OnBrowse);
    connect(buttons[1], &QPushButton::clicked, this, &COptionDirList::OnAdd);
    connect(buttons[2], &QPushButton::clicked, this, &COptionDirList::OnRemove);
    connect(list_, &QTreeView::doubleClicked, this, &COptionDirList::OnOpenRow);
    RefillRows();
}

void COptionDirList::OnAdd() {
    Show(page_.Add(PathBytes(edit_->text())));
}

void COptionDirList::OnBrowse() {
    const QString chosen = ChooseFolder(this, edit_->text());
    edit_->setText(chosen);
    edit_->setFocus();
    Show(page_.Add(PathBytes(chosen)));
}

void COptionDirList::OnRemove() {
    std::vector<size_t> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.push_back(static_cast<size_t>(index.row()));
    page_.Remove(rows);
    RefillRows();
}

void COptionDirList::OnOpenRow(const QModelIndex& index) {
    if (index.isValid())
        CResultPanes::OpenFolder(PathOf(index.data(kPathRole)));
}

void COptionDirList::Show(paradrex::OptionDirListPage::Outcome outcome) {
    if (outcome == DirectoryAddRule::Outcome::Added)
        RefillRows();
    if (DirectoryAddRule::ShowsBalloon(outcome))
        balloon_->ShowText(DisplayText(page_.BalloonText()));
}

void COptionDirList::RefillRows() {
    rows_->removeRows(0, rows_->rowCount());
    for (const std::string& dir : page_.rows()) {
        auto* item = new QStandardItem(DisplayText(dir));
        item->setData(PathData(dir), kPathRole);
        item->setToolTip(item->text());
        rows_->appendRow(item);
    }
}

bool COptionDirList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            OnRemove();
            return true;
        }
        // Enter opens the row instead of pressing the sheet's "&OK".
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            list_->currentIndex().isValid()) {
            OnOpenRow(list_->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
