#pragma once
// The numeric ids of the program's commands. Every id is one QAction of the
// main window, shared by menu bar, tool bar, context menus and accelerators,
// and reached by this id (CMainFrame::Action).

namespace paradrex::cmd {

// Main menu and tool bar.
inline constexpr int NewSearch = 133;    // "&New Search...\tCtrl+N"
inline constexpr int Preview = 32802;    // "&Preview...\tCtrl+W"
inline constexpr int DeleteMarked = 137; // "&Delete Files Marked Cross..."
inline constexpr int GroupSet = 136;     // "&Group Set\tCtrl+G"
inline constexpr int Exit = 57665;       // "E&xit\tAlt+F4"
inline constexpr int NextUnsettled = 135;
inline constexpr int PreviousGroup = 32818;
inline constexpr int NextGroup = 134;
inline constexpr int PreviousDirectory = 32828;
inline constexpr int NextDirectory = 32830;
inline constexpr int NextAllPreserved = 140;
inline constexpr int NextAllDeleted = 141;
inline constexpr int NextNameNotMatch = 32921;
inline constexpr int TotalStatistics = 32937;
inline constexpr int Options = 131;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
inline constexpr int TreeListView = 32948;
inline constexpr int OneListView = 32949;
inline constexpr int Grid = 32834;
inline constexpr int UserManual = 32801;
inline constexpr int HomePage = 32799;
inline constexpr int About = 57664;
// Saving the review and reopening it, and comparing its contents again.
inline constexpr int SaveResult = 32960;     // "&Save Result...\tCtrl+Shift+S"
inline constexpr int OpenResult = 32961;     // "Open &Result...\tCtrl+Shift+O"
inline constexpr int OpenLastResult = 32962; // "Open &Last Result\tCtrl+Shift+L"
inline constexpr int ReverifyResult = 32963; // "Re-&verify Result..."

// Accelerators that name a command of the panes' context menus.
inline constexpr int OnlyPreserveDirectory = 32926; // Ctrl+Insert
inline constexpr int OnlyDeleteDirectory = 32927;   // Ctrl+Delete
inline constexpr int Rename = 32954;                // F2
inline constexpr int CopyName = 32934;              // Ctrl+C
inline constexpr int PasteName = 32935;             // Ctrl+V

// Accelerators whose command depends on the pane that has the focus.
inline constexpr int FocusPreserve = 32932;        // Insert
inline constexpr int FocusDelete = 32933;          // Delete
inline constexpr int FocusSetAllPreserved = 32928; // Ctrl+Num +
inline constexpr int FocusSetAllDeleted = 32929;   // Ctrl+Num -
inline constexpr int FocusSetAllUnsettled = 32930; // Ctrl+Num *
inline constexpr int FocusStatistics = 132;        // Alt+Enter

// Context menu commands (menu 219) that the focus-dependent ones run.
inline constexpr int DirSetAllPreserved = 32875;
inline constexpr int DirSetAllDeleted = 32876;
inline constexpr int DirSetAllUnsettled = 32877;
inline constexpr int DirExplorer = 32878;
inline constexpr int DirStatistics = 32879;
inline constexpr int DirRename = 32898;
inline constexpr int DirRestoreNames = 32899;
inline constexpr int FileOnlyDelete = 32881;
inline constexpr int FileSetAllPreserved = 32884;
inline constexpr int FileSetAllDeleted = 32885;
inline constexpr int FileSetAllUnsettled = 32886;
inline constexpr int FileOnlyPreserve = 32892;
inline constexpr int FileRestoreName = 32904;
inline constexpr int FileRenameInDirectory = 32905;
inline constexpr int FileRestoreNamesInDirectory = 32906;
inline constexpr int CloneOnlyPreserve = 32887;
inline constexpr int CloneOnlyDelete = 32888;
inline constexpr int CloneSetAllPreserved = 32889;
inline constexpr int CloneSetAllDeleted = 32890;
inline constexpr int CloneSetAllUnsettled = 32891;
inline constexpr int CloneRestoreName = 32914;
inline constexpr int ClonePasteNameGroup = 32917;
inline constexpr int OneListExplorer = 32950;
inline constexpr int OneListRestoreName = 32951;
// The "Open" submenu: "&Open", then the ten user rows (first + row index).
inline constexpr int OpenFile = 50;
inline constexpr int OpenWithFirst = 51;
inline constexpr int OpenWithLast = 60;

// The caption bar's close button of the folder pane; nothing handles it.
inline constexpr int ClosePane = 57682;

// String table entry shown in the status bar when no menu item is highlighted.
inline constexpr int ReadyText = 57345;

} // namespace paradrex::cmd
