// The main window's command tables against each other: what a menu promises
// must be what the keys and the tool bar do.

#include "uimodel/CommandTable.h"
#include "uimodel/FrameCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace paradrex {
namespace {

using namespace res;

// The key names of the menus ("Ctrl+Page Up") as the table writes them.
std::string TableKeys(std::string hint) {
    for (auto [menu, table] : {std::pair{" Arrow", ""}, std::pair{"Page Up", "PgUp"},
                               std::pair{"Page Down", "PgDown"}}) {
        if (size_t at = hint.find(menu); at != std::string::npos)
            hint.replace(at, std::string_view(menu).size(), table);
    }
    return hint;
}

TEST(CommandTable, EveryShortcutAMenuShowsIsAnAcceleratorOfItsCommand) {
    int hints = 0;
    for (const MenuText& m : kMenuTexts) {
        const std::string_view text = m.text;
        const size_t tab = text.find('\t');
        if (tab == std::string_view::npos)
            continue;
        ++hints;
        const std::string keys = TableKeys(std::string(text.substr(tab + 1)));
        const bool found =
            std::any_of(std::begin(kAccelerators), std::end(kAccelerators),
                        [&](const Accelerator& a) { return a.id == m.id && a.keys == keys; });
        EXPECT_TRUE(found) << m.text;
    }
    EXPECT_EQ(hints, 16);
}

TEST(CommandTable, NoKeyRunsTwoCommands) {
    std::map<std::string, int> owner;
    for (const Accelerator& a : kAccelerators) {
        auto [it, added] = owner.emplace(a.keys, a.id);
        EXPECT_TRUE(added) << a.keys << " runs " << it->second << " and " << a.id;
    }
}

TEST(CommandTable, AcceleratorsWithoutMenuTextAreTheContextMenuOnes) {
    // Their commands sit in the panes' context menus or depend on the pane.
    const std::set<int> expected = {cmd::OnlyPreserveDirectory, cmd::OnlyDeleteDirectory,
                                    cmd::Rename, cmd::CopyName, cmd::PasteName};
    std::set<int> withoutText;
    for (const Accelerator& a : kAccelerators)
        if (MenuTextOf(a.id).empty() && !IsFocusDependent(a.id))
            withoutText.insert(a.id);
    EXPECT_EQ(withoutText, expected);
}

TEST(CommandTable, TheToolBarCommandsAndOnlyTheyHaveImages) {
    std::set<int> bar;
    for (int id : kToolBar)
        if (id != kSeparator)
            bar.insert(id);
    std::set<int> images;
    std::set<std::string> names;
    for (const CommandIcon& i : kCommandIcons) {
        EXPECT_TRUE(images.insert(i.id).second) << i.id;
        EXPECT_TRUE(names.insert(i.name).second) << i.name;
    }
    EXPECT_EQ(images, bar);
}

} // namespace
} // namespace paradrex
