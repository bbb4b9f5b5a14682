#pragma once
// The program's main window: menu bar, tool bar and status bar; the two
// result layouts (folder tree with file list over clone list, or the one
// list); one QAction per command id, shared by menus, tool bar and
// accelerators; the New Search flow; and the window placement, column widths
// and grid state kept in Setting.ini.
//
// The command states (enabled, checked) come from paradrex::FrameCommands;
// this class only mirrors them into its actions. Every command runs the
// handler set for it with SetCommandHandler(id), the window's own commands
// included; a command without one is greyed until the part of the program
// that carries it out sets it.

#include "engine/SearchDriver.h"
#include "gui/dialogs/WorkerThread.h"
#include "platform/KeyStore.h"
#include "uimodel/FrameCommands.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <thread>

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QToolBar;
class QTreeView;
class CContextMenus;
class CFolderBarWindow;
class CResultPanes;
namespace HV {
class COfficeXPStyle;
}

namespace paradrex {
class _Setting_file;
class SearchState;
} // namespace paradrex

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Runs the New Search dialog; true when a search should start with the
    // job it filled in.
    using NewSearchDialog = std::function<bool(QWidget* parent)>;

    // The process's settings and search state, and the real New Search dialog.
    CMainFrame();
    CMainFrame(paradrex::_Setting_file& settings, paradrex::SearchState& state,
               NewSearchDialog newSearchDialog, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Shows the result of the search state, as at the end of a search that
    // found duplicates: the tree filled, the first group selected, the file
    // list focused (the one list filled and focused when it is the view
    // shown) and the result commands enabled. Without a result the views
    // stay empty and the result commands are greyed.
    void ShowResult();

    // Places the window at the normal rectangle of the settings and shows it,
    // maximised when the stored show command is 3.
    void ShowAtStart();

    // The action of a command id; null when there is none.
    QAction* Action(int id) const;
    // Runs a command as its action does: a focus-dependent accelerator runs
    // the command of the focused pane; a greyed command does nothing. The
    // "Open" submenu's commands, which have no action of their own, come here.
    void RunCommand(int id);
    // Sets (replaces) the code a command runs and enables the command as the
    // rules of FrameCommands say; an empty handler greys it again.
    void SetCommandHandler(int id, std::function<void()> handler);
    // How the progress dialog and the file operations start their worker
    // thread (tests hold it back).
    void SetWorkerStarter(WorkerStarter starter) { workerStarter_ = std::move(starter); }
    const WorkerStarter& workerStarter() const { return workerStarter_; }
    // Puts a popup at position 1 of the menu bar in place of the current one.
    void SetPaneMenu(QMenu* popup);
    QMenu* paneMenu() const { return paneMenu_; }
    // The panes' context menus; the menu bar's pane popup follows the focus.
    CContextMenus* contextMenus() const { return contextMenus_; }
    // Builds the "Open" submenu anew from the file context menu of the
    // settings (after the options changed its rows).
    void RebuildOpenSubmenu();

    const paradrex::FrameCommands& commands() const { return commands_; }
    // Whether "Open Last Result" has a result to open.
    void SetLastResultKept(bool kept) {
        commands_.SetLastResultKept(kept);
        SyncActions();
    }
    paradrex::FramePane FocusedPane() const;

    CResultPanes* panes() const { return panes_; }
    QTreeView* folderTree() const;
    QTreeView* fileList() const;
    QTreeView* cloneList() const;
    QTreeView* oneList() const;
    CFolderBarWindow* folderBar() const { return folderBar_; }
    QSplitter* verticalSplitter() const { return vSplitter_; }
    QSplitter* horizontalSplitter() const { return hSplitter_; }
    QToolBar* toolBar() const { return toolBar_; }
    // The widget of the current layout: the vertical splitter or the one list.
    QWidget* clientWindow() const;

    // "MenuStyle": 1 "OfficeXP Style" draws the menu bar, the menus (context
    // menus included) and the tool bar in the XP colours; 0 and every other
    // value leave them to the platform. The bars are drawn anew at once.
    void ApplyMenuStyle(int style);
    // The style of the menus and bars; null while the platform draws them.
    HV::COfficeXPStyle* menuStyle() const { return xpStyle_.get(); }
    // "ListViewStyle": 0 "Windows Default", 1 "Windows Vista Style"; the
    // lists and the tree are drawn anew, grid lines stay as they are.
    void ApplyListStyle(int style);
    // The row colours of the settings changed: the file list is filled again
    // with them and its selected row selected again; the one list uses them
    // when it is filled next.
    void ApplyColours();

    // The address "&Home Page" opens (the manual's without a configured home
    // page), and the user manual file (gui/HelpLocations.h).
    static QString HomePageAddress();
    static QString UserManualPath();

signals:
    // A New Search is about to replace the result (its directories chosen).
    void searchStarting();
    // A New Search ended (found, nothing found or stopped); the views show
    // its outcome.
    void searchEnded();
    // The window is closing (before it stores its layout).
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePanes();
    void RegisterHandlers();

    void SyncActions();
    // Triggers the action whose shortcut a key of the keypad is; false when
    // it is none.
    bool RunKeypadShortcut(const QKeyEvent& key);

    void NewSearch();
    void SwitchToTreeAndList();
    void SwitchToOneList();
    void ToggleGrid();
    void ToggleToolbar();
    void ToggleStatusBar();
    void ShowAbout();
    void ShowOptions();
    void OnFocusChanged(QWidget* now);

    paradrex::SearchEnvironment SearchEnvironmentForRun();
    // Stores placement, column widths and grid state into the settings once.
    void StoreLayout();

    paradrex::_Setting_file& settings_;
    paradrex::SearchState& state_;
    NewSearchDialog newSearchDialog_;
    WorkerStarter workerStarter_;
    paradrex::platform::KeyStore keyStore_;
    paradrex::FrameCommands commands_;

    std::map<int, QAction*> actions_;
    std::map<int, std::function<void()>> handlers_;
    QMenu* paneMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* readyLabel_ = nullptr;

    QStackedWidget* client_ = nullptr;
    QSplitter* vSplitter_ = nullptr;
    QSplitter* hSplitter_ = nullptr;
    CFolderBarWindow* folderBar_ = nullptr;
    CResultPanes* panes_ = nullptr;
    CContextMenus* contextMenus_ = nullptr;
    std::unique_ptr<HV::COfficeXPStyle> xpStyle_;
    bool splitterPlaced_ = false;
    bool layoutStored_ = false;
};
