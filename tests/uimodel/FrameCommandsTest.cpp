#include "uimodel/FrameCommands.h"
#include "review/GroupSetSwitch.h"
#include "settings/SettingFile.h"
#include "uimodel/WindowPlacement.h"

#include <gtest/gtest.h>

#include <set>

namespace paradrex {
namespace {

const std::set<int> kNavigation = {135, 32818, 134, 32828, 32830, 140, 141, 32921};
const std::set<int> kResultOnly = {32802, 137, 32937};

void ExpectResultCommands(const FrameCommands& c, bool navigation, bool others) {
    for (int id : kNavigation)
        EXPECT_EQ(c.Enabled(id), navigation) << id;
    for (int id : kResultOnly)
        EXPECT_EQ(c.Enabled(id), others) << id;
    for (int id : {cmd::NewSearch, cmd::GroupSet, cmd::Exit, cmd::Options, cmd::TreeListView,
                   cmd::OneListView, cmd::Grid, cmd::About})
        EXPECT_TRUE(c.Enabled(id)) << id;
}

TEST(FrameCommands, StartWithoutResultInTheTreeLayoutWithGroupSetAndBarsOn) {
    const FrameCommands c(false);
    ExpectResultCommands(c, false, false);
    EXPECT_TRUE(c.Checked(cmd::GroupSet));
    EXPECT_TRUE(c.Checked(cmd::ViewToolbar));
    EXPECT_TRUE(c.Checked(cmd::ViewStatusBar));
    EXPECT_TRUE(c.Checked(cmd::TreeListView));
    EXPECT_FALSE(c.Checked(cmd::OneListView));
    EXPECT_FALSE(c.Checked(cmd::Grid));
    EXPECT_TRUE(FrameCommands(true).Checked(cmd::Grid)) << "the check mark shows the grid";
}

TEST(FrameCommands, SearchOutcomesEnableOrDisableTheResultCommands) {
    FrameCommands c(false);
    c.SearchEnded(true);
    ExpectResultCommands(c, true, true);
    c.SearchEnded(false); // nothing found, or stopped
    ExpectResultCommands(c, false, false);
}

TEST(FrameCommands, OneListDisablesNavigationAndTheTreeBringsItBackOnlyWithNodes) {
    FrameCommands c(false);
    c.SearchEnded(true);
    EXPECT_FALSE(c.ShowTreeAndList(true)) << "already shown: nothing to do";
    EXPECT_TRUE(c.ShowOneList());
    EXPECT_EQ(c.layout(), FrameLayout::OneList);
    EXPECT_TRUE(c.Checked(cmd::OneListView));
    EXPECT_FALSE(c.Checked(cmd::TreeListView));
    ExpectResultCommands(c, false, true);
    EXPECT_FALSE(c.ShowOneList());

    EXPECT_TRUE(c.ShowTreeAndList(false));
    ExpectResultCommands(c, false, true);
    c.ShowOneList();
    EXPECT_TRUE(c.ShowTreeAndList(true));
    ExpectResultCommands(c, true, true);

    // Without a result the tree layout never enables navigation.
    FrameCommands empty(false);
    empty.ShowOneList();
    empty.ShowTreeAndList(false);
    ExpectResultCommands(empty, false, false);
}

TEST(FrameCommands, TogglesAndGridFollowingTheFileList) {
    FrameCommands c(false);
    // The check mark shows the review's switch.
    GroupSetSwitch::Instance().Flip();
    EXPECT_FALSE(c.Checked(cmd::GroupSet));
    GroupSetSwitch::Instance().Flip();
    EXPECT_TRUE(c.Checked(cmd::GroupSet));
    c.SetToolbarVisible(false);
    c.SetStatusBarVisible(false);
    EXPECT_FALSE(c.Checked(cmd::ViewToolbar));
    EXPECT_FALSE(c.Checked(cmd::ViewStatusBar));
    EXPECT_TRUE(c.ToggleGrid(false));
    EXPECT_TRUE(c.Checked(cmd::Grid));
    EXPECT_FALSE(c.ToggleGrid(true));
    EXPECT_FALSE(c.Checked(cmd::Grid));
}

TEST(FrameCommands, FocusDependentAcceleratorsRunThePanesCommand) {
    using P = FramePane;
    EXPECT_EQ(FocusTarget(cmd::FocusPreserve, P::FileList), cmd::FileOnlyPreserve);
    EXPECT_EQ(FocusTarget(cmd::FocusPreserve, P::CloneList), cmd::CloneOnlyPreserve);
    EXPECT_EQ(FocusTarget(cmd::FocusPreserve, P::Tree), 0);
    EXPECT_EQ(FocusTarget(cmd::FocusDelete, P::FileList), cmd::FileOnlyDelete);
    EXPECT_EQ(FocusTarget(cmd::FocusDelete, P::CloneList), cmd::CloneOnlyDelete);
    EXPECT_EQ(FocusTarget(cmd::FocusDelete, P::OneList), 0);
    EXPECT_EQ(FocusTarget(cmd::FocusStatistics, P::Tree), cmd::DirStatistics);
    EXPECT_EQ(FocusTarget(cmd::FocusStatistics, P::FileList), 0) << "Alt+Enter in the file list";
    EXPECT_EQ(FocusTarget(cmd::FocusSetAllPreserved, P::Tree), cmd::DirSetAllPreserved);
    EXPECT_EQ(FocusTarget(cmd::FocusSetAllDeleted, P::FileList), cmd::FileSetAllDeleted);
    EXPECT_EQ(FocusTarget(cmd::FocusSetAllUnsettled, P::CloneList), cmd::CloneSetAllUnsettled);
    EXPECT_EQ(FocusTarget(cmd::FocusSetAllUnsettled, P::None), 0);
    EXPECT_EQ(FocusTarget(cmd::Rename, P::OneList), cmd::Rename) << "other commands pass through";
}

TEST(WindowPlacement, SettingsGiveTheNormalRectAndOnlyThreeMaximises) {
    _Setting_file s = _Setting_file::FromText("");
    s.layout.window_x = -8;
    s.layout.window_y = 20;
    s.layout.window_width = 1024;
    s.layout.window_height = 700;
    EXPECT_EQ(NormalRect(s.layout), (WindowRect{-8, 20, 1024, 700}));
    for (unsigned cmd : {0u, 1u, 2u, 4u, 9u}) {
        s.layout.window_showcmd = cmd;
        EXPECT_FALSE(OpensMaximized(s.layout)) << cmd;
    }
    s.layout.window_showcmd = 3u;
    EXPECT_TRUE(OpensMaximized(s.layout));

    StorePlacement(s.layout, {5, 6, 700, 500}, WindowShowState::Minimized);
    EXPECT_EQ(NormalRect(s.layout), (WindowRect{5, 6, 700, 500}));
    EXPECT_EQ(s.layout.window_showcmd.value, 2u);
    StorePlacement(s.layout, {5, 6, 700, 500}, WindowShowState::Maximized);
    EXPECT_EQ(s.layout.window_showcmd.value, 3u);
    StorePlacement(s.layout, {5, 6, 700, 500}, WindowShowState::Normal);
    EXPECT_EQ(s.layout.window_showcmd.value, 1u);
}

TEST(WindowPlacement, ARectOffEveryScreenComesBackToTheFirst) {
    const WindowRect screens[] = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const WindowRect partly{1800, 900, 800, 600};
    EXPECT_EQ(KeepOnScreen(partly, screens), partly);
    EXPECT_EQ(KeepOnScreen({2000, 100, 800, 600}, screens), (WindowRect{2000, 100, 800, 600}));
    EXPECT_EQ(KeepOnScreen({5000, 4000, 800, 600}, screens), (WindowRect{0, 0, 800, 600}));
    EXPECT_EQ(KeepOnScreen({-3000, 0, 2500, 1500}, screens), (WindowRect{0, 0, 1920, 1080}));
    EXPECT_EQ(KeepOnScreen({100, 100, 0, 0}, screens), (WindowRect{0, 0, 1, 1}))
        << "an empty rectangle shows nowhere";
    EXPECT_EQ(KeepOnScreen({5000, 0, 10, 10}, {}), (WindowRect{5000, 0, 10, 10}));
}

} // namespace
} // namespace paradrex
