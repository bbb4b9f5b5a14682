#include "gui/dialogs/CImportDialog.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/CFileTypeDlg.h"
#include "uimodel/FolderTreeSource.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>
#include <QStorageInfo>
#include <QStyle>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using paradrex::NewSearchForm;

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

void OpenInFileManager(const std::string& path) {
    QDesktopServices::openUrl(FileUrl(path));
}

QComboBox* UnitBox(QWidget* parent, const char* id) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(id));
    box->addItems({QStringLiteral("Bytes"), QStringLiteral("KB"), QStringLiteral("MB")});
    box->setCurrentIndex(0);
    return box;
}

QLineEdit* NumberEdit(QWidget* parent, const char* id) {
    auto* edit = new QLineEdit(QStringLiteral("0"), parent);
    edit->setObjectName(QString::fromLatin1(id));
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

QCheckBox* CheckBox(QWidget* parent, const char* id, const QString& text) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(id));
    return box;
}

QPushButton* Button(QWidget* parent, const char* id, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(id));
    return button;
}

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

CImportDialog::CImportDialog(QWidget* parent, paradrex::SearchJob& job,
                             paradrex::_Setting_file& settings)
    : QDialog(parent), settings_(settings), form_(job), openFolder_(OpenInFileManager) {
    setWindowTitle(QStringLiteral("New Search"));
    setObjectName(QStringLiteral("id201"));
    BuildControls();
    FillTopLevel();
    form_.Open(settings_.defaultSearchDirectory.dirs, settings_.recentDirectory.dirs);
    RefillRoots();
    RefillRecent();
}

CImportDialog::~CImportDialog() {
    StoreRecent();
}

bool CImportDialog::accepted() const {
    return form_.accepted();
}

QString CImportDialog::balloonText() const {
    return balloon_->isVisible() ? balloon_->text() : QString();
}

void CImportDialog::BuildControls() {
    auto* group = new QGroupBox(QStringLiteral("Select search path"), this);
    auto* recentLabel = new QLabel(QStringLiteral("Recent List:"), group);
    recentBox_ = new QComboBox(group);
    recentBox_->setObjectName(QStringLiteral("id1002"));
    recentBox_->setEditable(true);
    recentBox_->setInsertPolicy(QComboBox::NoInsert);
    recentBox_->setCompleter(nullptr);
    recentBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    recentLabel->setBuddy(recentBox_);

    tree_ = new QTreeWidget(group);
    tree_->setObjectName(QStringLiteral("id1122"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);

    addButton_ = Button(group, "id1004", QStringLiteral("-> &A"));
    removeButton_ = Button(group, "id1006", QStringLiteral("<- &R"));

    rootList_ = new QTreeView(group);
    rootList_->setObjectName(QStringLiteral("id1005"));
    rootModel_ = new QStandardItemModel(0, 1, rootList_);
    rootModel_->setHorizontalHeaderLabels({QStringLiteral("Name")});
    rootList_->setModel(rootModel_);
    rootList_->setRootIsDecorated(false);
    rootList_->setUniformRowHeights(true);
    rootList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    rootList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rootList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rootList_->header()->setStretchLastSection(true);

    auto* recentRow = new QHBoxLayout;
    recentRow->addWidget(recentLabel);
    recentRow->addWidget(recentBox_, 1);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(addButton_);
    arrows->addWidget(removeButton_);
    arrows->addStretch();
    auto* pick = new QHBoxLayout;
    pick->addWidget(tree_, 1);
    pick->addLayout(arrows);
    pick->addWidget(rootList_, 1);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(recentRow);
    groupLayout->addLayout(pick, 1);

    moreThan_ = CheckBox(this, "id1120", QStringLiteral("more than"));
    moreThanNumber_ = NumberEdit(this, "id1118");
    moreThanUnit_ = UnitBox(this, "id1116");
    lessThan_ = CheckBox(this, "id1121", QStringLiteral("less than"));
    lessThanNumber_ = NumberEdit(this, "id1119");
    lessThanUnit_ = UnitBox(this, "id1117");
    readOnly_ = CheckBox(this, "id1108", QStringLiteral("R&ead-only"));
    hidden_ = CheckBox(this, "id1109", QStringLiteral("&Hidden"));
    system_ = CheckBox(this, "id1110", QStringLiteral("S&ystem"));
    typeBox_ = new QLineEdit(this);
    typeBox_->setObjectName(QStringLiteral("id1097"));
    typeBox_->setToolTip(QStringLiteral("ext1 ext2 ext3"));
    selectButton_ = Button(this, "id1096", QStringLiteral("&Select..."));
    okButton_ = Button(this, "id1", QStringLiteral("&OK"));
    cancelButton_ = Button(this, "id2", QStringLiteral("&Cancel"));
    okButton_->setDefault(true);

    auto* filters = new QGridLayout;
    filters->addWidget(new QLabel(QStringLiteral("File Size:"), this), 0, 0);
    auto* sizeRow = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{moreThan_, moreThanNumber_, moreThanUnit_})
        sizeRow->addWidget(w);
    sizeRow->addSpacing(16);
    for (QWidget* w : std::initializer_list<QWidget*>{lessThan_, lessThanNumber_, lessThanUnit_})
        sizeRow->addWidget(w);
    sizeRow->addStretch();
    filters->addLayout(sizeRow, 0, 1);
    filters->addWidget(new QLabel(QStringLiteral("Attributes:"), this), 1, 0);
    auto* attributeRow = new QHBoxLayout;
    attributeRow->addWidget(readOnly_);
    attributeRow->addWidget(hidden_);
    attributeRow->addWidget(system_);
    attributeRow->addStretch();
    filters->addLayout(attributeRow, 1, 1);
    filters->addWidget(new QLabel(QStringLiteral("Type of file:"), this), 2, 0);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(typeBox_, 1);
    typeRow->addWidget(selectButton_);
    filters->addLayout(typeRow, 2, 1);
    filters->addWidget(new QLabel(QStringLiteral("Fill like \"jpg bmp gif\""), this), 3, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(filters);
    layout->addLayout(buttons);
    resize(560, 450);

    balloon_ = new QLabel(this, Qt::ToolTip);
    balloon_->setObjectName(QStringLiteral("balloon"));
    balloon_->setPalette(QToolTip::palette());
    balloon_->setFrameStyle(QFrame::Box | QFrame::Plain);
    balloon_->setMargin(6);
    balloon_->hide();

    connect(tree_, &QTreeWidget::itemExpanded, this, &CImportDialog::FillBranch);
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { OnTreeSelection(item); });
    connect(addButton_, &QPushButton::clicked, this, &CImportDialog::OnAdd);
    connect(removeButton_, &QPushButton::clicked, this, &CImportDialog::OnRemove);
    connect(rootList_, &QTreeView::doubleClicked, this, &CImportDialog::OnOpenRow);
    // An editable box treats its edit field losing the focus as choosing the
    // entry whose text the field holds; here only a pick from the opened list
    // chooses one.
    disconnect(recentBox_->lineEdit(), &QLineEdit::editingFinished, recentBox_, nullptr);
    connect(recentBox_, &QComboBox::activated, this, &CImportDialog::OnRecentChosen);
    connect(recentBox_->lineEdit(), &QLineEdit::textEdited, this, &CImportDialog::HideBalloon);
    connect(selectButton_, &QPushButton::clicked, this, &CImportDialog::OnSelectTypes);
    connect(okButton_, &QPushButton::clicked, this, &CImportDialog::OnOk);
    connect(cancelButton_, &QPushButton::clicked, this, &CImportDialog::reject);

    // Enter in the path box means OK, as in any dialog field; the box must
    // not treat it as choosing the recent entry that the text matches, nor
    // take entries while the arrow keys or the wheel step through them.
    recentBox_->lineEdit()->installEventFilter(this);
    recentBox_->installEventFilter(this);
    rootList_->installEventFilter(this);
    setMouseTracking(true);
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{tree_, rootList_}) {
        view->viewport()->setMouseTracking(true);
        view->viewport()->installEventFilter(this);
    }
}

void CImportDialog::FillTopLevel() {
    std::string home = qgetenv("HOME").toStdString();
    if (home.empty())
        home = PathBytes(QDir::homePath());
    std::vector<paradrex::MountedVolume> volumes;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        volumes.push_back(
            {PathBytes(v.rootPath()), v.fileSystemType().toStdString(), v.device().toStdString()});
    const std::vector<std::string> top = paradrex::FolderTreeTopLevel(home, volumes);
    for (const std::string& path : top)
        AddFolderItem(nullptr, path, DisplayText(path), true);
    if (QTreeWidgetItem* first = tree_->topLevelItem(0)) {
        first->setIcon(0, style()->standardIcon(QStyle::SP_DirHomeIcon));
        tree_->expandItem(first);
        tree_->setCurrentItem(first);
    }
}

QTreeWidgetItem* CImportDialog::AddFolderItem(QTreeWidgetItem* parent, const std::string& path,
                                              const QString& text, bool hasSubfolders) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    item->setText(0, text);
    item->setData(0, kPathRole, PathData(path));
    item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    item->setChildIndicatorPolicy(hasSubfolders ? QTreeWidgetItem::ShowIndicator
                                                : QTreeWidgetItem::DontShowIndicator);
    return item;
}

void CImportDialog::FillBranch(QTreeWidgetItem* item) {
    if (item->data(0, kFilledRole).toBool())
        return;
    item->setData(0, kFilledRole, true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string path = PathOf(item->data(0, kPathRole));
    for (const paradrex::SubFolder& sub : paradrex::ListSubfolders(path))
        AddFolderItem(item, paradrex::ChildPath(path, sub.name), DisplayText(sub.name),
                      sub.hasSubfolders);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    QApplication::restoreOverrideCursor();
}

void CImportDialog::OnTreeSelection(QTreeWidgetItem* item) {
    if (item)
        SetPathBox(PathOf(item->data(0, kPathRole)));
}

void CImportDialog::SetPathBox(const std::string& path) {
    pathBoxBytes_ = path;
    pathBoxShown_ = DisplayText(path);
    recentBox_->setEditText(pathBoxShown_);
}

std::string CImportDialog::PathBoxBytes() const {
    const QString text = recentBox_->currentText();
    if (text == pathBoxShown_)
        return pathBoxBytes_;
    return PathBytes(text);
}

void CImportDialog::OnAdd() {
    Show(form_.AddEntry(PathBoxBytes()));
}

void CImportDialog::OnRemove() {
    std::vector<size_t> rows;
    for (const QModelIndex& index : rootList_->selectionModel()->selectedRows())
        rows.push_back(static_cast<size_t>(index.row()));
    form_.RemoveRoots(rows);
    RefillRoots();
}

void CImportDialog::OnRecentChosen(int index) {
    HideBalloon();
    const std::string entry = PathOf(recentBox_->itemData(index));
    pathBoxBytes_ = entry;
    pathBoxShown_ = recentBox_->itemText(index);
    Show(form_.ChooseRecent(entry));
}

void CImportDialog::OnOpenRow(const QModelIndex& index) {
    if (openFolder_)
        openFolder_(PathOf(index.data(kPathRole)));
}

void CImportDialog::OnSelectTypes() {
    CFileTypeDlg selector(this);
    if (selector.exec() == QDialog::Accepted)
        typeBox_->setText(Utf8Text(selector.typeText()));
}

void CImportDialog::OnOk() {
    paradrex::SearchFilters f;
    f.typeText = typeBox_->text().toStdString();
    f.moreThan = moreThan_->isChecked();
    f.moreThanNumber = moreThanNumber_->text().toStdString();
    f.moreThanUnit = moreThanUnit_->currentIndex();
    f.lessThan = lessThan_->isChecked();
    f.lessThanNumber = lessThanNumber_->text().toStdString();
    f.lessThanUnit = lessThanUnit_->currentIndex();
    f.readOnly = readOnly_->isChecked();
    f.hidden = hidden_->isChecked();
    f.system = system_->isChecked();
    if (!form_.Accept(f, PathBoxBytes())) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"),
                        Utf8Text(paradrex::kTypeInputError), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    RefillRoots();
    accept();
}

void CImportDialog::done(int result) {
    if (result != QDialog::Accepted)
        form_.Reject();
    HideBalloon();
    StoreRecent();
    QDialog::done(result);
}

void CImportDialog::StoreRecent() {
    settings_.recentDirectory.dirs = form_.recent().Store();
}

void CImportDialog::Show(const NewSearchForm::Result& result) {
    RefillRoots();
    if (result.recentChanged)
        RefillRecent();
    if (result.showBalloon())
        ShowBalloon();
}

void CImportDialog::ShowBalloon() {
    balloon_->setText(DisplayText(form_.BalloonText()));
    balloon_->adjustSize();
    balloon_->move(recentBox_->mapToGlobal(QPoint(recentBox_->width() / 4, recentBox_->height())));
    balloon_->show();
    balloon_->raise();
}

void CImportDialog::HideBalloon() {
    balloon_->hide();
}

void CImportDialog::RefillRoots() {
    rootModel_->removeRows(0, rootModel_->rowCount());
    for (const std::string& root : form_.Roots()) {
        auto* item = new QStandardItem(DisplayText(root));
        item->setData(PathData(root), kPathRole);
        item->setToolTip(item->text());
        rootModel_->appendRow(item);
    }
}

void CImportDialog::RefillRecent() {
    // The box lists the recent paths in byte order; what the user typed or
    // picked stays in the edit field.
    const QString text = recentBox_->currentText();
    const QSignalBlocker block(recentBox_);
    recentBox_->clear();
    for (const std::string& path : form_.recent().Sorted())
        recentBox_->addItem(DisplayText(path), PathData(path));
    recentBox_->setCurrentIndex(-1);
    recentBox_->setEditText(text);
}

// The arrow keys only show the neighbouring recent entry in the path box; a
// recent entry is taken when it is chosen from the opened list.
void CImportDialog::StepRecent(int step) {
    const int index = std::clamp(recentBox_->currentIndex() + step, 0, recentBox_->count() - 1);
    if (index < 0)
        return;
    const QSignalBlocker block(recentBox_);
    recentBox_->setCurrentIndex(index);
    SetPathBox(PathOf(recentBox_->itemData(index)));
}

bool CImportDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && watched == recentBox_)
        return true; // the wheel would take entries one after another
    if (event->type() == QEvent::MouseMove) {
        HideBalloon();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // Keys reach the path box through the box or its edit field.
    if (watched == recentBox_ || watched == recentBox_->lineEdit()) {
        if (IsEnter(key)) {
            okButton_->click();
            return true;
        }
        if (key->modifiers() == Qt::NoModifier &&
            (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            StepRecent(key->key() == Qt::Key_Down ? 1 : -1);
            return true;
        }
    }
    if (watched == rootList_) {
        if (key->key() == Qt::Key_Delete) {
            OnRemove();
            return true;
        }
        if (IsEnter(key) && rootList_->currentIndex().isValid()) {
            OnOpenRow(rootList_->currentIndex());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CImportDialog::mouseMoveEvent(QMouseEvent* event) {
    HideBalloon();
    QDialog::mouseMoveEvent(event);
}
