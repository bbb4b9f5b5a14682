// The panes' context menus: the popups against the command tables, which
// popup opens where, what is enabled when it opens, and the menu bar's pane
// popup.

#include "uimodel/ContextMenus.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace paradrex {
namespace {

using namespace res;

// The accelerator table's name of a shortcut text ("Ctrl+Num +" is "Ctrl+Num++").
std::string TableKeys(std::string hint) {
    static const std::pair<std::string_view, std::string_view> kNames[] = {
        {"Insert", "Ins"}, {"Delete", "Del"}, {"Num ", "Num+"}, {"Enter", "Return"}};
    for (auto [menu, table] : kNames)
        if (size_t at = hint.find(menu); at != std::string::npos)
            hint.replace(at, menu.size(), table);
    return hint;
}

TEST(ContextMenuTable, EveryShortcutAPopupShowsRunsItsCommandInItsPane) {
    int hints = 0;
    for (ContextPopup popup : kContextPopups) {
        for (const PopupItem& item : PopupTableOf(popup).items) {
            if (item.id <= 0)
                continue;
            const std::string_view text = item.text;
            const size_t tab = text.find('\t');
            if (tab == std::string_view::npos)
                continue;
            ++hints;
            const std::string keys = TableKeys(std::string(text.substr(tab + 1)));
            bool runs = false;
            for (const Accelerator& a : kAccelerators)
                if (a.keys == keys && FocusTarget(a.id, PopupPane(popup)) == item.id)
                    runs = true;
            EXPECT_TRUE(runs) << PopupTableOf(popup).title << ": " << item.text;
        }
    }
    EXPECT_EQ(hints, 41);
}

TEST(ContextMenuTable, EveryCommandAKeyRunsInAPaneIsInThatPanesPopups) {
    for (const FocusRoute& route : kFocusRoutes) {
        for (auto [pane, command] : {std::pair{FramePane::Tree, route.tree},
                                     std::pair{FramePane::FileList, route.fileList},
                                     std::pair{FramePane::CloneList, route.cloneList}}) {
            if (command == 0)
                continue;
            bool shown = false;
            for (ContextPopup popup : kContextPopups)
                if (PopupPane(popup) == pane && !PopupItemText(popup, command).empty())
                    shown = true;
            EXPECT_TRUE(shown) << route.command << " -> " << command;
        }
    }
}

TEST(ContextMenuTable, EachItemHasOneAccessKeyAndAPopupNeverRepeatsOne) {
    for (ContextPopup popup : kContextPopups) {
        std::set<char> keys;
        for (const PopupItem& item : PopupTableOf(popup).items) {
            if (item.id <= 0)
                continue;
            const std::string_view text = item.text;
            const size_t amp = text.find('&');
            ASSERT_NE(amp, std::string_view::npos) << item.text;
            EXPECT_EQ(text.find('&', amp + 1), std::string_view::npos) << item.text;
            const char key =
                static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
            EXPECT_TRUE(keys.insert(key).second)
                << PopupTableOf(popup).title << " repeats '" << key << "': " << item.text;
        }
    }
}

TEST(ContextMenuTable, ACommandShowsOneTextExceptTheTreesRecursiveDirectoryCommands) {
    std::map<int, std::string_view> text; // outside the tree's popup
    for (ContextPopup popup : kContextPopups) {
        for (const PopupItem& item : PopupTableOf(popup).items) {
            if (item.id <= 0)
                continue;
            // Where the menu bar also shows the command, it says the same.
            const std::string_view menuBar = MenuTextOf(item.id);
            EXPECT_TRUE(menuBar.empty() || menuBar == item.text) << item.text;
            if (popup == ContextPopup::Directory)
                continue;
            auto [it, first] = text.emplace(item.id, item.text);
            EXPECT_EQ(it->second, std::string_view(item.text)) << item.id;
        }
    }
    for (int id : {cmd::OnlyPreserveDirectory, cmd::OnlyDeleteDirectory}) {
        const std::string_view tree = PopupItemText(ContextPopup::Directory, id);
        EXPECT_NE(tree.find("(Recursively)"), std::string_view::npos);
        EXPECT_NE(tree, text.at(id));
        EXPECT_EQ(PopupItemText(ContextPopup::FileAll, id), text.at(id));
    }
    EXPECT_EQ(PopupItemText(ContextPopup::File, cmd::OnlyPreserveDirectory),
              "Only P&reserve Files in This Directory\tCtrl+Insert");
    EXPECT_EQ(PopupItemText(ContextPopup::Directory, cmd::OnlyDeleteDirectory),
              "Only &Delete Files in This Directory (Recursively)\tCtrl+Delete");
}

TEST(ContextMenuTable, TheOpenSubmenuLeadsThePopupsAboutOneFile) {
    std::set<ContextPopup> withOpen;
    for (ContextPopup popup : kContextPopups) {
        const auto items = PopupTableOf(popup).items;
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].id != kOpenSubmenu)
                continue;
            EXPECT_EQ(i, 0u);
            EXPECT_STREQ(items[i].text, "Open");
            withOpen.insert(popup);
        }
        EXPECT_NE(items.front().id, kSeparator);
        EXPECT_NE(items.back().id, kSeparator);
    }
    EXPECT_EQ(withOpen, (std::set{ContextPopup::File, ContextPopup::Clone, ContextPopup::FileSel,
                                  ContextPopup::CloneSel, ContextPopup::OneListView}));
}

struct ChoiceCase {
    const char* what;
    ContextRequest request;
    std::optional<ContextPopup> popup;
    PopupPlace place;
    int selectRow;
};

TEST(ContextMenus, ThePopupThatOpensAndWhere) {
    using enum FramePane;
    using enum ContextInput;
    using enum PopupPlace;
    using P = ContextPopup;
    const ChoiceCase cases[] = {
        // pane, input, hit row, hit column, selected row, rows
        {"tree key", {Tree, Keyboard, -1, -1, 4, 0}, P::Directory, NodeText, -1},
        {"tree key, no node", {Tree, Keyboard, -1, -1, -1, 0}, {}, MousePoint, -1},
        {"tree click on a node", {Tree, Mouse, 7, 0, 4, 0}, P::Directory, MousePoint, 7},
        {"tree click beside", {Tree, Mouse, -1, -1, 4, 0}, {}, MousePoint, -1},
        {"files key, selected", {FileList, Keyboard, -1, -1, 2, 5}, P::FileSel, RowCentre, -1},
        {"files key, none", {FileList, Keyboard, -1, -1, -1, 5}, P::FileAll, ListTopLeft, -1},
        {"files key, empty", {FileList, Keyboard, -1, -1, -1, 0}, {}, MousePoint, -1},
        {"files name click", {FileList, Mouse, 3, 0, 2, 5}, P::FileSel, MousePoint, 3},
        {"files size click", {FileList, Mouse, 3, 1, 2, 5}, P::FileAll, MousePoint, -1},
        {"files type click", {FileList, Mouse, 3, 2, -1, 5}, P::FileAll, MousePoint, -1},
        {"files below rows", {FileList, Mouse, -1, 0, 2, 5}, P::FileAll, MousePoint, -1},
        {"files empty click", {FileList, Mouse, -1, -1, -1, 0}, {}, MousePoint, -1},
        {"clones key, selected", {CloneList, Keyboard, -1, -1, 0, 2}, P::CloneSel, RowCentre, -1},
        {"clones key, none", {CloneList, Keyboard, -1, -1, -1, 2}, P::CloneAll, ListTopLeft, -1},
        {"clones key, empty", {CloneList, Keyboard, -1, -1, -1, 0}, {}, MousePoint, -1},
        {"clones name click", {CloneList, Mouse, 1, 0, 0, 2}, P::CloneSel, MousePoint, 1},
        {"clones dir click", {CloneList, Mouse, 1, 1, 0, 2}, P::CloneAll, MousePoint, -1},
        {"one key, selected", {OneList, Keyboard, -1, -1, 3, 9}, P::OneListView, RowCentre, -1},
        {"one key, none", {OneList, Keyboard, -1, -1, -1, 9}, {}, MousePoint, -1},
        {"one click any column", {OneList, Mouse, 5, 3, -1, 9}, P::OneListView, MousePoint, 5},
        {"one click below rows", {OneList, Mouse, -1, -1, 3, 9}, {}, MousePoint, -1},
        {"one list empty", {OneList, Mouse, -1, -1, -1, 0}, {}, MousePoint, -1},
        {"no pane", {None, Keyboard, -1, -1, 0, 3}, {}, MousePoint, -1},
    };
    for (const ChoiceCase& c : cases) {
        const PopupChoice choice = ChoosePopup(c.request);
        EXPECT_EQ(choice.popup, c.popup) << c.what;
        if (!c.popup)
            continue;
        EXPECT_EQ(choice.place, c.place) << c.what;
        EXPECT_EQ(choice.selectRow, c.selectRow) << c.what;
    }
}

struct EnablingCase {
    const char* what;
    ContextPopup popup;
    PopupState state; // rows, selected row, copied clone row, copied one-list row
    std::set<int> greyed;
    bool allGreyed = false;
};

TEST(ContextMenus, WhatIsEnabledWhenAPopupOpens) {
    using P = ContextPopup;
    const std::set<int> none;
    const EnablingCase cases[] = {
        {"tree with a node", P::Directory, {0, 3}, none},
        {"tree without", P::Directory, {0, -1}, {}, true},
        {"files", P::File, {4, 1}, none},
        {"files, none selected",
         P::File,
         {4, -1},
         {kOpenSubmenu, cmd::FileOnlyPreserve, cmd::FileOnlyDelete, cmd::Rename,
          cmd::FileRestoreName}},
        {"files, empty", P::File, {0, -1}, {}, true},
        {"clones, copied", P::Clone, {3, 0, 2}, none},
        {"clones, nothing copied",
         P::Clone,
         {3, 0, -1},
         {cmd::PasteName, cmd::ClonePasteNameGroup}},
        {"clones, none selected",
         P::Clone,
         {3, -1, 2},
         {kOpenSubmenu, cmd::CloneOnlyPreserve, cmd::CloneOnlyDelete, cmd::Rename,
          cmd::CloneRestoreName, cmd::CopyName, cmd::PasteName, cmd::ClonePasteNameGroup}},
        {"clones, empty", P::Clone, {0, -1, 2}, {}, true},
        {"clone row, copied", P::CloneSel, {3, 1, 1}, none},
        {"clone row, nothing copied",
         P::CloneSel,
         {3, 1, -1},
         {cmd::PasteName, cmd::ClonePasteNameGroup}},
        // A copied one-list name does not paste in the clone list.
        {"clone row, one list copied",
         P::CloneSel,
         {3, 1, -1, 4},
         {cmd::PasteName, cmd::ClonePasteNameGroup}},
        {"file row", P::FileSel, {4, 1}, none},
        {"file list", P::FileAll, {4, -1}, none},
        {"clone list", P::CloneAll, {2, -1}, none},
        {"one list, copied", P::OneListView, {9, 4, -1, 7}, none},
        {"one list, nothing copied", P::OneListView, {9, 4, 3, -1}, {cmd::PasteName}},
        {"one list, none selected", P::OneListView, {9, -1, -1, 7}, {}, true},
        {"one list, empty", P::OneListView, {0, -1, -1, 7}, {}, true},
    };
    for (const EnablingCase& c : cases) {
        std::set<int> greyed;
        size_t items = 0;
        for (const PopupItemState& s : PopupItemStates(c.popup, c.state)) {
            ++items;
            EXPECT_EQ(s.enabled, PopupItemEnabled(c.popup, s.item, c.state));
            if (!s.enabled)
                greyed.insert(s.item);
        }
        if (c.allGreyed)
            EXPECT_EQ(greyed.size(), items) << c.what;
        else
            EXPECT_EQ(greyed, c.greyed) << c.what;
    }
    // Items a popup does not have are never enabled in it.
    EXPECT_FALSE(PopupItemEnabled(P::FileAll, kOpenSubmenu, {4, 1}));
    EXPECT_FALSE(PopupItemEnabled(P::CloneAll, cmd::PasteName, {4, 1, 1}));
    EXPECT_FALSE(PopupItemEnabled(P::File, kSeparator, {4, 1}));
}

TEST(ContextMenus, TheMenuBarShowsThePopupOfThePaneThatGotTheFocus) {
    EXPECT_FALSE(PaneMenuOf(FramePane::None));

    PaneMenuSwitch menuBar;
    const struct {
        FramePane focus;
        std::optional<PaneMenu> replacedBy;
    } steps[] = {
        {FramePane::FileList, PaneMenu{ContextPopup::File, "&File"}},
        {FramePane::CloneList, PaneMenu{ContextPopup::Clone, "&Clone"}},
        {FramePane::CloneList, {}}, // the same pane again: nothing to do
        {FramePane::None, {}},      // the tool bar: the clone popup stays
        {FramePane::CloneList, {}},
        {FramePane::Tree, PaneMenu{ContextPopup::Directory, "&Directory"}},
        {FramePane::OneList, PaneMenu{ContextPopup::OneListView, "&ListView"}},
    };
    for (const auto& step : steps) {
        const std::optional<PaneMenu> menu = menuBar.FocusMovedTo(step.focus);
        ASSERT_EQ(menu.has_value(), step.replacedBy.has_value());
        if (menu) {
            EXPECT_EQ(menu->popup, step.replacedBy->popup);
            EXPECT_STREQ(menu->caption, step.replacedBy->caption);
        }
    }
    EXPECT_EQ(menuBar.shown(), FramePane::OneList);
}

} // namespace
} // namespace paradrex
