#include "gui/panes/CResultPanes.h"

#include "engine/SearchState.h"
#include "gui/QtBytes.h"
#include "gui/panes/CCustomDrawListView.h"
#include "gui/panes/CFolderTreeModel.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CStateImages.h"
#include "gui/panes/CTypeIconCache.h"
#include "gui/panes/ListStyleDrawing.h"
#include "review/Navigation.h"
#include "review/ResultTreeOrder.h"
#include "settings/SettingKeys.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

using paradrex::FramePane;
using paradrex::ListColumn;
using paradrex::ListKind;
using paradrex::ListStyle;
using paradrex::ResultDir;

namespace {

// Shows the wait cursor while a list is filled.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The folder tree's selection: once a directory is selected, a command that
// would leave none selected (Ctrl+click or Ctrl+Space on the selected node)
// is refused, so the lists never go empty under a tree that shows a result.
// Resetting the model still clears it.
class KeepOneSelected : public QItemSelectionModel {
public:
    using QItemSelectionModel::QItemSelectionModel;
    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, SelectionFlags command) override {
        if (hasSelection() && LeavesNothing(selection, command))
            return;
        QItemSelectionModel::select(selection, command);
    }

private:
    bool LeavesNothing(const QItemSelection& selection, SelectionFlags command) const {
        if ((command & Select) && !selection.isEmpty())
            return false;
        if (command & Clear)
            return true;
        if (!(command & (Deselect | Toggle)))
            return false;
        const QModelIndexList selected = selectedIndexes();
        return std::all_of(selected.begin(), selected.end(),
                           [&](const QModelIndex& i) { return selection.contains(i); });
    }
};

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}

} // namespace

CResultPanes::CResultPanes(QWidget* viewParent, const paradrex::PaneSettings& settings)
    : QObject(viewParent), types_(std::make_unique<CTypeIconCache>()),
      states_(std::make_unique<CStateImages>()) {
    browser_.SetColours(settings.colours);
    grid_ = settings.grid;
    oneGrid_ = settings.grid;

    treeModel_ = new CFolderTreeModel(this);
    treeModel_->SetFolderIcons(ThemeIcon("folder", QStyle::SP_DirClosedIcon),
                               ThemeIcon("folder-open", QStyle::SP_DirOpenIcon));
    tree_ = new QTreeView(viewParent);
    tree_->setObjectName(QStringLiteral("folderTree"));
    tree_->setModel(treeModel_);
    QItemSelectionModel* plainSelection = tree_->selectionModel();
    tree_->setSelectionModel(new KeepOneSelected(treeModel_, tree_));
    delete plainSelection;
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setDragEnabled(false);
    tree_->setSortingEnabled(false);
    tree_->setIconSize(QSize(16, 16));
    // A node shows its whole text (a root its whole path); a narrow pane
    // scrolls sideways rather than cutting it.
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->installEventFilter(this);
    treePalette_ = tree_->palette();
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CResultPanes::OnTreeSelectionChanged);

    for (ListKind which : paradrex::kListKinds) {
        models_[Slot(which)] = new CResultListModel(which, browser_, *types_, *states_, this);
        lists_[Slot(which)] = MakeList(which, viewParent);
        SetColumnWidths(which, settings.columnWidths[Slot(which)]);
    }
    lists_[0]->setObjectName(QStringLiteral("fileList"));
    lists_[1]->setObjectName(QStringLiteral("cloneList"));
    lists_[2]->setObjectName(QStringLiteral("oneList"));
    connect(fileList()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CResultPanes::OnFileSelectionChanged);

    style_ = settings.listStyle;
    InstallDelegates();
}

CResultPanes::~CResultPanes() {
    // The views may outlive the panes in the frame's widget tree; they must
    // not keep pointers to the models that go with the panes (their delegates
    // are their own).
    for (QTreeView* view : {tree_.data(), lists_[0].data(), lists_[1].data(), lists_[2].data()})
        if (view) {
            view->removeEventFilter(this);
            view->setModel(nullptr);
        }
}

QTreeView* CResultPanes::MakeList(ListKind which, QWidget* parent) {
    auto* view = new QTreeView(parent);
    CResultListModel* model = models_[Slot(which)];
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setIndentation(0);
    view->setUniformRowHeights(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // F2 (the Rename command, EditName) or a slow second click on a selected
    // row's name edits it.
    view->setEditTriggers(QAbstractItemView::SelectedClicked);
    view->setSortingEnabled(false);
    view->setIconSize(QSize(16, 16));
    view->setTextElideMode(Qt::ElideRight);
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    // Stored widths come back as they were, however narrow.
    header->setMinimumSectionSize(0);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    header->resizeSection(0, paradrex::kStateColumnWidth);
    view->installEventFilter(this);
    // A filled list has no current row until one is selected. Otherwise the
    // view would make its first row current, unselected, when it gets the
    // focus, and the first Down would select the second row.
    connect(model, &QAbstractItemModel::modelReset, view,
            [view] { view->setCurrentIndex(QModelIndex()); });
    // A copied row would name another file of the new rows.
    connect(model, &QAbstractItemModel::modelReset, this,
            [this, which] { copiedNames_.Refilled(which); });
    connect(model, &CResultListModel::nameEdited, this,
            [this, which](int row, const QString& text) { emit nameEdited(which, row, text); });
    // Files open on a double click (or Enter, OnListKey), never on the single
    // click that some desktops make an activation.
    connect(view, &QAbstractItemView::doubleClicked, this,
            [this, which](const QModelIndex& index) { OnActivated(which, index); });
    connect(view, &QAbstractItemView::clicked, this,
            [this, which](const QModelIndex& index) { OnClicked(which, index); });
    connect(view, &QAbstractItemView::doubleClicked, this,
            [this, which](const QModelIndex& index) { OnClicked(which, index); });
    return view;
}

void CResultPanes::InstallDelegates() {
    HV::InstallTreeStyle(*tree_, style_, treePalette_);
    for (size_t i = 0; i < 3; ++i)
        listDelegates_[i] = HV::InstallListStyle(*lists_[i], style_);
    listDelegates_[0]->SetGrid(grid_);
    listDelegates_[1]->SetGrid(grid_);
    listDelegates_[2]->SetGrid(oneGrid_);
}

void CResultPanes::SetListStyle(ListStyle style) {
    style_ = style;
    InstallDelegates();
}

void CResultPanes::SetGrid(bool on) {
    grid_ = on;
    for (size_t i = 0; i < 2; ++i) {
        listDelegates_[i]->SetGrid(on);
        lists_[i]->viewport()->update();
    }
}

void CResultPanes::SetResult(paradrex::SearchState* state) {
    WaitCursor wait;
    for (CResultListModel* m : models_)
        m->BeginReset();
    browser_.SetResult(state);
    for (CResultListModel* m : models_)
        m->EndReset();
    expanded_ = QPersistentModelIndex();
    treeModel_->SetRoot(browser_.root());
}

bool CResultPanes::SelectFirstDirectoryWithDuplicates() {
    // Next Group from no selection: the first directory with duplicates in
    // tree order and its first row.
    const std::optional<paradrex::ReviewPlace> place = paradrex::NextGroup(browser_);
    if (!place)
        return false;
    SelectDirectory(place->dir);
    SelectFileRow(static_cast<int>(place->row));
    fileList()->setFocus(Qt::OtherFocusReason);
    return true;
}

void CResultPanes::SelectDirectory(const ResultDir* dir) {
    QModelIndex index = treeModel_->IndexOf(dir);
    if (!index.isValid())
        return;
    tree_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    tree_->scrollTo(index);
}

void CResultPanes::SelectFileRow(int row) {
    // The name cell is the current one, as the row's label is.
    QModelIndex index = models_[0]->index(row, models_[0]->ColumnOf(ListColumn::Name));
    if (!index.isValid())
        return;
    fileList()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    fileList()->scrollTo(index);
}

std::optional<int> CResultPanes::SelectedFileRow() const {
    if (auto row = browser_.selectedRow())
        return static_cast<int>(*row);
    return std::nullopt;
}

std::optional<int> CResultPanes::SelectedRow(ListKind which) const {
    if (which == ListKind::FileList)
        return SelectedFileRow();
    const QModelIndexList rows = list(which)->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first().row();
}

bool CResultPanes::EditName(ListKind which) {
    const std::optional<int> row = SelectedRow(which);
    if (!row)
        return false;
    CResultListModel* model = listModel(which);
    const QModelIndex name = model->index(*row, model->ColumnOf(ListColumn::Name));
    QAbstractItemView* view = list(which);
    view->selectionModel()->setCurrentIndex(name, QItemSelectionModel::NoUpdate);
    view->scrollTo(name);
    view->edit(name);
    return true;
}

void CResultPanes::Apply(const paradrex::MarkingUpdate& update) {
    if (update.refillFileList) {
        RefillFileRows([this] { browser_.SelectDirectory(browser_.selectedDirectory()); });
        if (update.selectFileRow)
            SelectFileRow(static_cast<int>(*update.selectFileRow));
    }
    for (const paradrex::RowSpan& rows : update.fileRows)
        RepaintRows(ListKind::FileList, rows);
    if (update.cloneRows)
        RepaintRows(ListKind::CloneList, *update.cloneRows);
    if (update.oneRow)
        RepaintRows(ListKind::OneList, {*update.oneRow, 1});
}

void CResultPanes::RepaintRows(ListKind which, paradrex::RowSpan rows) {
    if (rows.count == 0)
        return;
    int first = static_cast<int>(rows.first);
    int last = static_cast<int>(rows.first + rows.count - 1);
    // Only the rows on screen: the model computes every cell when it is
    // painted, so the others show their state when they scroll into view.
    // A Group Set marking may change 100,000 rows of one block.
    const QTreeView* view = list(which);
    if (view->isVisible()) {
        const QModelIndex top = view->indexAt(QPoint(0, 0));
        const QModelIndex bottom = view->indexAt(QPoint(0, view->viewport()->height() - 1));
        if (top.isValid())
            first = std::max(first, top.row());
        if (bottom.isValid())
            last = std::min(last, bottom.row());
    }
    if (first <= last)
        models_[Slot(which)]->RefreshRows(first, last);
}

void CResultPanes::ShowPlace(const paradrex::ReviewPlace& place) {
    if (place.dir != browser_.selectedDirectory()) {
        SelectDirectory(place.dir);
        if (browser_.selectedDirectory() != place.dir)
            return;
    }
    SelectFileRow(static_cast<int>(place.row));
}

template <class Refill> void CResultPanes::RefillFileRows(Refill&& refill) {
    WaitCursor wait;
    models_[0]->BeginReset();
    models_[1]->BeginReset();
    refill();
    models_[1]->EndReset();
    models_[0]->EndReset();
}

void CResultPanes::OnTreeSelectionChanged() {
    QModelIndexList selected = tree_->selectionModel()->selectedIndexes();
    ResultDir* dir = selected.isEmpty() ? nullptr : treeModel_->DirectoryAt(selected.first());
    if (!selected.isEmpty())
        ExpandSingle(selected.first());
    RefillFileRows([&] { browser_.SelectDirectory(dir); });
}

void CResultPanes::ExpandSingle(const QModelIndex& selected) {
    // The item being selected opens; the branch of the one opened before
    // closes as far as it is not shared with the new one.
    std::vector<QModelIndex> keep;
    for (QModelIndex i = selected; i.isValid(); i = i.parent())
        keep.push_back(i);
    for (QModelIndex i = expanded_; i.isValid(); i = i.parent())
        if (std::find(keep.begin(), keep.end(), i) == keep.end())
            tree_->collapse(i);
    for (const QModelIndex& i : keep)
        tree_->expand(i);
    expanded_ = selected;
}

void CResultPanes::OnFileSelectionChanged() {
    QModelIndexList rows = fileList()->selectionModel()->selectedRows();
    std::optional<size_t> row;
    if (!rows.isEmpty())
        row = static_cast<size_t>(rows.first().row());
    if (row == browser_.selectedRow())
        return;
    WaitCursor wait;
    models_[1]->BeginReset();
    browser_.SelectRow(row);
    models_[1]->EndReset();
}

void CResultPanes::ShowFiles(ResultDir* dir) {
    RefillFileRows([&] { browser_.SelectDirectory(dir); });
    if (browser_.fileRows().empty())
        return;
    SelectFileRow(0);
    fileList()->setFocus(Qt::OtherFocusReason);
}

bool CResultPanes::FillOneList() {
    if (browser_.oneListFilled() || !browser_.hasResult())
        return false;
    WaitCursor wait;
    models_[2]->BeginReset();
    browser_.FillOneList();
    models_[2]->EndReset();
    return true;
}

void CResultPanes::RefillFileList() {
    RefillFileRows([this] { browser_.RefillFileList(); });
    if (auto row = browser_.selectedRow()) {
        // The browser already holds the row; the view only shows it again.
        SelectFileRow(static_cast<int>(*row));
    }
}

void CResultPanes::RefreshRows() {
    for (CResultListModel* m : models_)
        m->RefreshAll();
}

std::vector<int> CResultPanes::ColumnWidths(ListKind which) const {
    std::vector<int> widths;
    const QHeaderView* header = list(which)->header();
    for (int i = 1; i < header->count(); ++i)
        widths.push_back(header->sectionSize(i));
    return widths;
}

void CResultPanes::SetColumnWidths(ListKind which, std::span<const int> widths) {
    QHeaderView* header = list(which)->header();
    for (int i = 1; i < header->count() && size_t(i - 1) < widths.size(); ++i)
        header->resizeSection(i, std::max(widths[size_t(i - 1)], 0));
}

bool CResultPanes::OpenFile(const paradrex::FileRecord& file) {
    return QDesktopServices::openUrl(FileUrl(paradrex::FilePath(file)));
}

bool CResultPanes::OpenFolder(std::string_view path) {
    return QDesktopServices::openUrl(FileUrl(path));
}

void CResultPanes::OnActivated(ListKind which, const QModelIndex& index) {
    CResultListModel* model = models_[Slot(which)];
    if (!index.isValid() || model->ColumnAt(index.column()) == ListColumn::State)
        return; // the click on the state image already changed the state
    if (const paradrex::FileRecord* file = model->FileAt(index.row()))
        OpenFile(*file);
}

void CResultPanes::OnClicked(ListKind which, const QModelIndex& index) {
    CResultListModel* model = models_[Slot(which)];
    if (index.isValid() && model->ColumnAt(index.column()) == ListColumn::State)
        emit stateAdvanceRequested(which, index.row());
}

std::optional<ListKind> CResultPanes::ListOf(const QObject* view) const {
    for (ListKind which : paradrex::kListKinds)
        if (view == lists_[Slot(which)])
            return which;
    return std::nullopt;
}

FramePane CResultPanes::PaneOf(const QWidget* widget) const {
    if (!widget)
        return FramePane::None;
    for (FramePane pane :
         {FramePane::Tree, FramePane::FileList, FramePane::CloneList, FramePane::OneList}) {
        const QWidget* view = ViewOf(pane);
        if (view && (widget == view || view->isAncestorOf(widget)))
            return pane;
    }
    return FramePane::None;
}

QWidget* CResultPanes::ViewOf(FramePane pane) const {
    switch (pane) {
    case FramePane::Tree:
        return tree_;
    case FramePane::FileList:
        return fileList();
    case FramePane::CloneList:
        return cloneList();
    case FramePane::OneList:
        return oneList();
    case FramePane::None:
        break;
    }
    return nullptr;
}

bool CResultPanes::OnListKey(ListKind which, const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier))
        return false;
    QTreeView* view = list(which);
    // The Enter that ends an in-place edit goes on from the editor to the
    // list; it must not open the file.
    if (const QWidget* focus = QApplication::focusWidget();
        focus != view && view->isAncestorOf(focus))
        return false;
    QModelIndexList rows = view->selectionModel()->selectedRows();
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter opens the selected row's file whichever cell is current.
        if (!rows.isEmpty())
            if (const paradrex::FileRecord* file = models_[Slot(which)]->FileAt(rows.first().row()))
                OpenFile(*file);
        return true;
    case Qt::Key_Space:
        if (!rows.isEmpty())
            emit stateAdvanceRequested(which, rows.first().row());
        return true;
    default:
        return false;
    }
}

bool CResultPanes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (auto which = ListOf(watched); which && OnListKey(*which, *key))
            return true;
        bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        bool backward = key->key() == Qt::Key_Backtab ||
                        (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
        if (!forward && !backward)
            return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        const FramePane from = PaneOf(qobject_cast<QWidget*>(watched));
        if (from == FramePane::None)
            return false;
        if (QWidget* target = ViewOf(paradrex::NextPane(from, forward)); target != watched)
            target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // The themed selection changes its colours with the focus.
        if (auto* view = qobject_cast<QAbstractItemView*>(watched))
            view->viewport()->update();
    }
    return false;
}
