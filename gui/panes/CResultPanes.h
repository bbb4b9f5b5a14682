#pragma once
// The result panes the main frame lays out: the folder tree, the file list,
// the clone list and the one list, with their models, drawing and the
// behaviour that belongs to the panes themselves (selection filling the next
// pane, activation opening a file, Tab between the panes, list style, grid
// lines and colours). The frame owns the layout, menus and settings.

#include "review/Browser.h"
#include "review/Colour.h"
#include "review/Marking.h"
#include "review/Navigation.h"
#include "uimodel/CopiedNames.h"
#include "uimodel/FrameCommands.h"
#include "uimodel/ListColumns.h"
#include "uimodel/PaneSettings.h"

#include <QObject>
#include <QPalette>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class QItemSelection;
class QKeyEvent;
class QModelIndex;
class QWidget;
class CFolderTreeModel;
class CResultListModel;
class CStateImages;
class CTypeIconCache;

namespace HV {
class CCustomDrawListView;
} // namespace HV

namespace paradrex {
class SearchState;
}

class CResultPanes : public QObject {
    Q_OBJECT
public:
    // The views are created as children of `viewParent`; the frame may move
    // them into its splitters.
    explicit CResultPanes(QWidget* viewParent, const paradrex::PaneSettings& settings = {});
    ~CResultPanes() override;

    QTreeView* folderTree() const { return tree_; }
    QTreeView* fileList() const { return lists_[0]; }
    QTreeView* cloneList() const { return lists_[1]; }
    QTreeView* oneList() const { return lists_[2]; }
    QTreeView* list(paradrex::ListKind which) const { return lists_[Slot(which)]; }
    CFolderTreeModel* treeModel() const { return treeModel_; }
    CResultListModel* listModel(paradrex::ListKind which) const { return models_[Slot(which)]; }
    const paradrex::Browser& browser() const { return browser_; }
    CTypeIconCache& typeCache() { return *types_; }
    // The pane a widget is or lies in; None for any other widget.
    paradrex::FramePane PaneOf(const QWidget* widget) const;

    // Shows a new result: fills the folder tree (nothing expanded or
    // selected) and empties the three lists. Null: shows nothing.
    void SetResult(paradrex::SearchState* state);
    // Empties the tree and the lists (before a search frees the records).
    void Clear() { SetResult(nullptr); }

    // After a new result: selects the first directory in tree order that
    // holds duplicates and its first row, and gives the file list the focus.
    // False when there is no such directory.
    bool SelectFirstDirectoryWithDuplicates();
    // Selects a directory in the tree (expanding its ancestors); the file list
    // is filled through the selection.
    void SelectDirectory(const paradrex::ResultDir* dir);
    paradrex::ResultDir* SelectedDirectory() const { return browser_.selectedDirectory(); }
    // Selects a file-list row, makes it the current row and scrolls it into
    // view; the clone list follows.
    void SelectFileRow(int row);
    std::optional<int> SelectedFileRow() const;
    // The selected row of a list, if any.
    std::optional<int> SelectedRow(paradrex::ListKind which) const;

    // Starts the in-place edit of the selected row's name in a list; false
    // without a selected row. The edit's end comes as nameEdited.
    bool EditName(paradrex::ListKind which);
    // Repaints rows of a list whose files changed state or name; only those
    // on screen are painted now, the others when they scroll into view.
    void RepaintRows(paradrex::ListKind which, paradrex::RowSpan rows);
    // The rows Copy Name remembered; a list forgets its row whenever it is
    // emptied or filled again.
    paradrex::CopiedNames& copiedNames() { return copiedNames_; }
    const paradrex::CopiedNames& copiedNames() const { return copiedNames_; }

    // Shows what a marking changed: the file list filled again with its
    // first row selected, or the state icons of the rows that changed (the
    // selection and the scroll position stay).
    void Apply(const paradrex::MarkingUpdate& update);
    // Selects a place the navigation found: its directory in the tree (when
    // it is not the selected one) and its row. The keyboard focus stays.
    void ShowPlace(const paradrex::ReviewPlace& place);

    // Fills the file list with the files of `dir` anew, whatever the tree
    // selects (null: the file list and the clone list empty); with rows, its
    // first row is selected and the file list gets the focus.
    void ShowFiles(paradrex::ResultDir* dir);

    // Fills the one list unless it already holds this result.
    bool FillOneList();
    // Fills the file list again with the current colours and selects the row
    // that was selected (after the colours changed).
    void RefillFileList();
    // Repaints every row of the three lists (after states or names changed).
    void RefreshRows();

    void SetListStyle(paradrex::ListStyle style);
    paradrex::ListStyle listStyle() const { return style_; }
    // Grid lines of the file list and the clone list; the one list keeps the
    // state it was created with.
    void SetGrid(bool on);
    bool grid() const { return grid_; }
    // Row colours, used when a list is filled next.
    void SetColours(const paradrex::RowColours& colours) { browser_.SetColours(colours); }
    const paradrex::RowColours& colours() const { return browser_.colours(); }

    // Widths of a list's data columns in display order (the state column is
    // fixed and not included): file list Name, Size, Type, Modified; clone
    // list Name, Directory, Modified; one list Name, Directory, Size, Type,
    // Modified.
    std::vector<int> ColumnWidths(paradrex::ListKind which) const;
    void SetColumnWidths(paradrex::ListKind which, std::span<const int> widths);

    // Opens a file with the desktop's default application, a directory with
    // the desktop's file manager.
    static bool OpenFile(const paradrex::FileRecord& file);
    static bool OpenFolder(std::string_view path);

signals:
    // The user asked to advance the state of a list row: a click or a double
    // click on its state column (each counts), or Space on the selected row.
    void stateAdvanceRequested(paradrex::ListKind list, int row);
    // An in-place edit of a row's name ended with `text` (not cancelled).
    void nameEdited(paradrex::ListKind list, int row, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static size_t Slot(paradrex::ListKind which) { return static_cast<size_t>(which); }
    QTreeView* MakeList(paradrex::ListKind which, QWidget* parent);
    // Fills the file list anew through `refill`, which changes the browser's
    // rows; the clone list empties or follows the browser's selected row.
    template <class Refill> void RefillFileRows(Refill&& refill);
    void OnTreeSelectionChanged();
    void OnFileSelectionChanged();
    void OnActivated(paradrex::ListKind which, const QModelIndex& index);
    void OnClicked(paradrex::ListKind which, const QModelIndex& index);
    void ExpandSingle(const QModelIndex& selected);
    std::optional<paradrex::ListKind> ListOf(const QObject* view) const;
    QWidget* ViewOf(paradrex::FramePane pane) const;
    bool OnListKey(paradrex::ListKind which, const QKeyEvent& key);
    void InstallDelegates();

    paradrex::Browser browser_;
    paradrex::CopiedNames copiedNames_;
    std::unique_ptr<CTypeIconCache> types_;
    std::unique_ptr<CStateImages> states_;
    CFolderTreeModel* treeModel_ = nullptr;
    CResultListModel* models_[3] = {};
    QPointer<QTreeView> tree_;
    QPointer<QTreeView> lists_[3];
    HV::CCustomDrawListView* listDelegates_[3] = {};
    QPalette treePalette_;
    paradrex::ListStyle style_ = paradrex::ListStyle::WindowsVista;
    bool grid_ = false;
    bool oneGrid_ = false;
    QPersistentModelIndex expanded_; // the tree item single expand opened last
};
