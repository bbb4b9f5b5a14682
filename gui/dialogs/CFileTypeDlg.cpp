#include "gui/dialogs/CFileTypeDlg.h"

#include "gui/QtBytes.h"
#include "gui/styles/IconTheme.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPushButton* Button(QWidget* parent, const char* id, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(id));
    return button;
}

} // namespace

CFileTypeDlg::CFileTypeDlg(QWidget* parent) : QDialog(parent) {
    EnsureIconTheme();
    setWindowTitle(QStringLiteral("Select File Type(s)"));
    setObjectName(QStringLiteral("id232"));

    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("id2001"));
    tabs_->setExpanding(false);
    for (std::string_view name : paradrex::kFileTypeCategories)
        tabs_->addTab(Utf8Text(name));

    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("id1054"));
    model_ = new QStandardItemModel(0, 3, list_);
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("Format"), QStringLiteral("Description"), QStringLiteral("Extension")});
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setIconSize(QSize(16, 16));
    list_->header()->setStretchLastSection(false);

    auto* all = Button(this, "id1093", QStringLiteral("&All"));
    auto* clear = Button(this, "id1094", QStringLiteral("Cl&ear"));
    auto* otherLabel = new QLabel(QStringLiteral("Other:"), this);
    otherBox_ = new QLineEdit(this);
    otherBox_->setObjectName(QStringLiteral("id1095"));
    otherBox_->setToolTip(QStringLiteral("ext1 ext2 ext3"));
    otherLabel->setBuddy(otherBox_);
    auto* ok = Button(this, "id1", QStringLiteral("&OK"));
    auto* cancel = Button(this, "id2", QStringLiteral("&Cancel"));
    ok->setDefault(true);

    auto* tabArea = new QVBoxLayout;
    tabArea->setSpacing(0);
    tabArea->addWidget(tabs_);
    tabArea->addWidget(list_, 1);
    auto* checkButtons = new QHBoxLayout;
    checkButtons->addWidget(all);
    checkButtons->addWidget(clear);
    checkButtons->addStretch();
    auto* otherRow = new QHBoxLayout;
    otherRow->addWidget(otherLabel);
    otherRow->addWidget(otherBox_, 1);
    otherRow->addWidget(ok);
    otherRow->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tabArea, 1);
    layout->addLayout(checkButtons);
    layout->addLayout(otherRow);
    resize(520, 380);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int category) {
        StoreShownChecks();
        ShowCategory(category);
    });
    connect(all, &QPushButton::clicked, this, [this] { SetAllChecks(true); });
    connect(clear, &QPushButton::clicked, this, [this] { SetAllChecks(false); });
    connect(ok, &QPushButton::clicked, this, &CFileTypeDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CFileTypeDlg::reject);

    FitListToCatalogue();
    ShowCategory(0);
}

// The columns are as wide as their widest cell in any category, so no text
// is cut and switching tabs keeps them; the list is wide enough for them and
// tall enough for the longest category.
void CFileTypeDlg::FitListToCatalogue() {
    list_->ensurePolished();
    model_->removeRows(0, model_->rowCount());
    int longest = 0;
    for (int category = 0; category < int(paradrex::kFileTypeCategoryCount); ++category) {
        const auto rows = paradrex::FileTypeCategory(category);
        for (const paradrex::FileTypeEntry& entry : rows)
            AppendRow(entry);
        longest = std::max(longest, int(rows.size()));
    }
    int width = 2 * list_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int column = 0; column < model_->columnCount(); ++column) {
        list_->resizeColumnToContents(column);
        width += list_->columnWidth(column);
    }
    const int height = 2 * list_->frameWidth() + list_->header()->sizeHint().height() +
                       longest * list_->sizeHintForRow(0);
    list_->setMinimumSize(width, height);
}

void CFileTypeDlg::AppendRow(const paradrex::FileTypeEntry& entry) {
    auto* format =
        new QStandardItem(MimeIcon(MimeTypeOfName(entry.iconProbe)), Utf8Text(entry.format));
    format->setCheckable(true);
    format->setCheckState(checks_[static_cast<size_t>(entry.slot())] ? Qt::Checked : Qt::Unchecked);
    QList<QStandardItem*> row{format, new QStandardItem(Utf8Text(entry.description)),
                              new QStandardItem(Utf8Text(entry.extension))};
    for (QStandardItem* cell : row)
        cell->setToolTip(cell->text());
    model_->appendRow(row);
}

void CFileTypeDlg::ShowCategory(int category) {
    model_->removeRows(0, model_->rowCount());
    for (const paradrex::FileTypeEntry& entry : paradrex::FileTypeCategory(category))
        AppendRow(entry);
    shown_ = category;
}

void CFileTypeDlg::StoreShownChecks() {
    const auto rows = paradrex::FileTypeCategory(shown_);
    for (size_t r = 0; r < rows.size(); ++r) {
        const QStandardItem* item = model_->item(static_cast<int>(r), 0);
        checks_[static_cast<size_t>(rows[r].slot())] = item->checkState() != Qt::Unchecked;
    }
}

void CFileTypeDlg::SetAllChecks(bool checked) {
    for (int r = 0; r < model_->rowCount(); ++r)
        model_->item(r, 0)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void CFileTypeDlg::OnOk() {
    StoreShownChecks();
    other_ = otherBox_->text().toStdString();
    accepted_ = true;
    accept();
}
