#pragma once
// The panes' context menus (menu 219) as plain data: eight popups with their
// items, separators and the slot of the "Open" submenu, in the order of the
// resource. An item's text carries its access key ("&") and its shortcut text
// after "\t". A command keeps one id, handler and enabled state everywhere;
// only the text may differ between popups (the directory commands 32926 and
// 32927 say "(Recursively)" in the tree's popup).

#include "uimodel/CommandTable.h"

#include <span>
#include <string_view>

namespace paradrex {

// The popups, by their position in menu 219.
enum class ContextPopup {
    Directory,
    File,
    Clone,
    FileSel,
    FileAll,
    CloneSel,
    CloneAll,
    OneListView
};
inline constexpr ContextPopup kContextPopups[] = {
    ContextPopup::Directory, ContextPopup::File,       ContextPopup::Clone,
    ContextPopup::FileSel,   ContextPopup::FileAll,    ContextPopup::CloneSel,
    ContextPopup::CloneAll,  ContextPopup::OneListView};

} // namespace paradrex

namespace paradrex::res {

// The item that stands for the "Open" submenu.
inline constexpr int kOpenSubmenu = -1;
inline constexpr const char* kOpenSubmenuTitle = "Open";
// The submenu's first item; the file context menu rows follow it.
inline constexpr const char* kOpenFileText = "&Open";

struct PopupItem {
    int id;           // a command, kSeparator or kOpenSubmenu
    const char* text; // nullptr for a separator
};

inline constexpr PopupItem kPopupSeparator{kSeparator, nullptr};
inline constexpr PopupItem kPopupOpen{kOpenSubmenu, kOpenSubmenuTitle};

inline constexpr PopupItem kDirectoryPopup[] = {
    {cmd::OnlyPreserveDirectory,
     "Only &Preserve Files in This Directory (Recursively)\tCtrl+Insert"},
    {cmd::OnlyDeleteDirectory, "Only &Delete Files in This Directory (Recursively)\tCtrl+Delete"},
    kPopupSeparator,
    {cmd::DirSetAllPreserved, "Set All Files to P&reserved (Recursively)\tCtrl+Num +"},
    {cmd::DirSetAllDeleted, "Set All Files to De&leted (Recursively)\tCtrl+Num -"},
    {cmd::DirSetAllUnsettled, "Set All Files to &Unsettled (Recursively)\tCtrl+Num *"},
    kPopupSeparator,
    {cmd::DirRename, "Rena&me Base on This Directory (Recursively)"},
    {cmd::DirRestoreNames, "Restore &Origin Name in This Directory (Recursively)"},
    kPopupSeparator,
    {cmd::DirExplorer, "&Explorer"},
    kPopupSeparator,
    {cmd::DirStatistics, "&Statistics\tAlt+Enter"},
};

inline constexpr PopupItem kFilePopup[] = {
    kPopupOpen,
    kPopupSeparator,
    {cmd::FileOnlyPreserve, "Only &Preserve Selected File\tInsert"},
    {cmd::FileOnlyDelete, "Only &Delete Selected File\tDelete"},
    kPopupSeparator,
    {cmd::OnlyPreserveDirectory, "Only P&reserve Files in This Directory\tCtrl+Insert"},
    {cmd::OnlyDeleteDirectory, "Only D&elete Files in This Directory\tCtrl+Delete"},
    kPopupSeparator,
    {cmd::FileSetAllPreserved, "Set All Files to Pre&served\tCtrl+Num +"},
    {cmd::FileSetAllDeleted, "Set All Files to De&leted\tCtrl+Num -"},
    {cmd::FileSetAllUnsettled, "Set All Files to &Unsettled\tCtrl+Num *"},
    kPopupSeparator,
    {cmd::Rename, "Rena&me\tF2"},
    {cmd::FileRestoreName, "Restore &Origin Name"},
    kPopupSeparator,
    {cmd::FileRenameInDirectory, "Re&name Base on This Directory"},
    {cmd::FileRestoreNamesInDirectory, "Restore Ori&gin Name in This Directory"},
};

inline constexpr PopupItem kClonePopup[] = {
    kPopupOpen,
    kPopupSeparator,
    {cmd::CloneOnlyPreserve, "Only &Preserve Selected File\tInsert"},
    {cmd::CloneOnlyDelete, "Only &Delete Selected File\tDelete"},
    kPopupSeparator,
    {cmd::CloneSetAllPreserved, "Set All Files to P&reserved\tCtrl+Num +"},
    {cmd::CloneSetAllDeleted, "Set All Files to D&eleted\tCtrl+Num -"},
    {cmd::CloneSetAllUnsettled, "Set All Files to &Unsettled\tCtrl+Num *"},
    kPopupSeparator,
    {cmd::Rename, "Rena&me\tF2"},
    {cmd::CloneRestoreName, "Restore &Origin Name"},
    kPopupSeparator,
    {cmd::CopyName, "&Copy Name\tCtrl+C"},
    {cmd::PasteName, "Pas&te Name\tCtrl+V"},
    {cmd::ClonePasteNameGroup, "Paste &Name (Group)"},
};

inline constexpr PopupItem kFileSelPopup[] = {
    kPopupOpen,
    kPopupSeparator,
    {cmd::FileOnlyPreserve, "Only &Preserve Selected File\tInsert"},
    {cmd::FileOnlyDelete, "Only &Delete Selected File\tDelete"},
    kPopupSeparator,
    {cmd::Rename, "Rena&me\tF2"},
    {cmd::FileRestoreName, "Restore &Origin Name"},
};

inline constexpr PopupItem kFileAllPopup[] = {
    {cmd::OnlyPreserveDirectory, "Only P&reserve Files in This Directory\tCtrl+Insert"},
    {cmd::OnlyDeleteDirectory, "Only D&elete Files in This Directory\tCtrl+Delete"},
    kPopupSeparator,
    {cmd::FileSetAllPreserved, "Set All Files to Pre&served\tCtrl+Num +"},
    {cmd::FileSetAllDeleted, "Set All Files to De&leted\tCtrl+Num -"},
    {cmd::FileSetAllUnsettled, "Set All Files to &Unsettled\tCtrl+Num *"},
    kPopupSeparator,
    {cmd::FileRenameInDirectory, "Re&name Base on This Directory"},
    {cmd::FileRestoreNamesInDirectory, "Restore Ori&gin Name in This Directory"},
};

inline constexpr PopupItem kCloneSelPopup[] = {
    kPopupOpen,
    kPopupSeparator,
    {cmd::CloneOnlyPreserve, "Only &Preserve Selected File\tInsert"},
    {cmd::CloneOnlyDelete, "Only &Delete Selected File\tDelete"},
    kPopupSeparator,
    {cmd::Rename, "Rena&me\tF2"},
    {cmd::CloneRestoreName, "Restore &Origin Name"},
    kPopupSeparator,
    {cmd::CopyName, "&Copy Name\tCtrl+C"},
    {cmd::PasteName, "Pas&te Name\tCtrl+V"},
    {cmd::ClonePasteNameGroup, "Paste &Name (Group)"},
};

inline constexpr PopupItem kCloneAllPopup[] = {
    {cmd::CloneSetAllPreserved, "Set All Files to P&reserved\tCtrl+Num +"},
    {cmd::CloneSetAllDeleted, "Set All Files to D&eleted\tCtrl+Num -"},
    {cmd::CloneSetAllUnsettled, "Set All Files to &Unsettled\tCtrl+Num *"},
};

inline constexpr PopupItem kOneListViewPopup[] = {
    kPopupOpen,
    {cmd::Rename, "Rena&me\tF2"},
    {cmd::OneListRestoreName, "Restore &Origin Name"},
    kPopupSeparator,
    {cmd::CopyName, "&Copy Name\tCtrl+C"},
    {cmd::PasteName, "Pas&te Name\tCtrl+V"},
    kPopupSeparator,
    {cmd::OneListExplorer, "&Explorer"},
};

struct ContextPopupTable {
    const char* title;
    std::span<const PopupItem> items;
};

// Indexed by ContextPopup.
inline constexpr ContextPopupTable kContextMenu[] = {
    {"&Directory", kDirectoryPopup}, {"&File", kFilePopup},
    {"&Clone", kClonePopup},         {"FileSel", kFileSelPopup},
    {"FileAll", kFileAllPopup},      {"CloneSel", kCloneSelPopup},
    {"CloneAll", kCloneAllPopup},    {"OneListView", kOneListViewPopup},
};

constexpr const ContextPopupTable& PopupTableOf(ContextPopup popup) {
    return kContextMenu[static_cast<size_t>(popup)];
}

// The text an item of a popup shows; empty when the popup has no such item.
constexpr std::string_view PopupItemText(ContextPopup popup, int id) {
    for (const PopupItem& item : PopupTableOf(popup).items)
        if (item.id == id && item.text)
            return item.text;
    return {};
}

} // namespace paradrex::res
