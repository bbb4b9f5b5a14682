#include "uimodel/FrameCommands.h"
#include "review/GroupSetSwitch.h"
#include "settings/SettingFile.h"
#include "uimodel/CommandTable.h"
#include "uimodel/WindowPlacement.h"

#include <gtest/gtest.h>

#include <set>

namespace paradrex {
namespace {

const std::set<int> kNavigation = {135, 32818, 134, 32828, 32830, 140, 141, 32921};
// Preview, Delete, Total Statistics, Save Result, Re-verify Result.
const std::set<int> kResultOnly = {32802, 137, 32937, 32960, 32963};

// The window's commands as they will be once every one is built: handled.
FrameCommands Built(bool grid) {
    FrameCommands c(grid);
    for (const res::MenuText& m : res::kMenuTexts)
        c.SetHandled(m.id, true);
    for (const FocusRoute& r : kFocusRoutes)
        for (int id : {r.tree, r.fileList, r.cloneList})
            c.SetHandled(id, true);
    return c;
}

void ExpectResultCommands(const FrameCommands& c, bool navigation, bool others) {
    for (int id : kNavigation)
        EXPECT_EQ(c.Enabled(id), navigation) << id;
    for (int id : kResultOnly)
        EXPECT_EQ(c.Enabled(id), others) << id;
    for (int id : {cmd::NewSearch, cmd::GroupSet, cmd::Exit, cmd::Options, cmd::TreeListView,
                   cmd::OneListView, cmd::Grid, cmd::About, cmd::OpenResult})
        EXPECT_TRUE(c.Enabled(id)) << id;
}

TEST(FrameCommands, StartWithoutResultInTheTreeLayoutWithGroupSetAndBarsOn) {
    const FrameCommands c = Built(false);
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
    FrameCommands c = Built(false);
    c.SearchEnded(true);
    ExpectResultCommands(c, true, true);
    c.SearchEnded(false); // nothing found, or stopped
    ExpectResultCommands(c, false, false);
}

TEST(FrameCommands, OneListDisablesNavigationAndTheTreeBringsItBackOnlyWithNodes) {
    FrameCommands c = Built(false);
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
    FrameCommands empty = Built(false);
    empty.ShowOneList();
    empty.ShowTreeAndList(false);
    ExpectResultCommands(empty, false, false);
}

TEST(FrameCommands, OpenLastResultOnlyWhileAResultIsKeptWhateverTheSearch) {
    FrameCommands c = Built(false);
    for (bool found : {false, true}) {
        c.SearchEnded(found);
        c.SetLastResultKept(false);
        EXPECT_FALSE(c.Enabled(cmd::OpenLastResult)) << found;
        c.SetLastResultKept(true);
        EXPECT_TRUE(c.Enabled(cmd::OpenLastResult)) << found;
        EXPECT_TRUE(c.Enabled(cmd::OpenResult)) << found;
    }
    FrameCommands unbuilt(false);
    unbuilt.SetLastResultKept(true);
    EXPECT_FALSE(unbuilt.Enabled(cmd::OpenLastResult)) << "no handler: greyed";
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
    for (int id : {cmd::FocusPreserve, cmd::FocusDelete, cmd::FocusStatistics,
                   cmd::FocusSetAllPreserved, cmd::FocusSetAllDeleted, cmd::FocusSetAllUnsettled})
        EXPECT_TRUE(IsFocusDependent(id)) << id;
    for (int id : {cmd::Rename, cmd::DirStatistics, cmd::FileOnlyPreserve, 0})
        EXPECT_FALSE(IsFocusDependent(id)) << id;
}

TEST(FrameCommands, OnlyFilesInThisDirectoryActByTheFocusedPane) {
    using P = FramePane;
    EXPECT_EQ(OnlyFilesScope(P::Tree), DirectoryScope::Recursive);
    EXPECT_EQ(OnlyFilesScope(P::FileList), DirectoryScope::ThisDirectory);
    for (P p : {P::CloneList, P::OneList, P::None})
        EXPECT_EQ(OnlyFilesScope(p), DirectoryScope::None);
}

TEST(FrameCommands, NameCommandsActOnTheFocusedListOrTheListOfTheirMenu) {
    using P = FramePane;
    using L = ListKind;
    const std::optional<L> none;
    struct Case {
        int command;
        // Focus in the tree, the file list, the clone list, the one list,
        // elsewhere.
        std::optional<L> tree, file, clone, one, other;
    };
    const Case cases[] = {
        {cmd::Rename, none, L::FileList, L::CloneList, L::OneList, none},
        {cmd::CopyName, none, none, L::CloneList, L::OneList, none},
        {cmd::PasteName, none, none, L::CloneList, L::OneList, none},
        {cmd::FileRestoreName, L::FileList, L::FileList, L::FileList, L::FileList, L::FileList},
        {cmd::CloneRestoreName, L::CloneList, L::CloneList, L::CloneList, L::CloneList,
         L::CloneList},
        {cmd::ClonePasteNameGroup, L::CloneList, L::CloneList, L::CloneList, L::CloneList,
         L::CloneList},
        {cmd::OneListRestoreName, L::OneList, L::OneList, L::OneList, L::OneList, L::OneList},
        {cmd::FileOnlyDelete, none, none, none, none, none},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameCommandList(c.command, P::Tree), c.tree) << c.command;
        EXPECT_EQ(NameCommandList(c.command, P::FileList), c.file) << c.command;
        EXPECT_EQ(NameCommandList(c.command, P::CloneList), c.clone) << c.command;
        EXPECT_EQ(NameCommandList(c.command, P::OneList), c.one) << c.command;
        EXPECT_EQ(NameCommandList(c.command, P::None), c.other) << c.command;
    }
}

TEST(FrameCommands, ACommandWithoutHandlerIsGreyedWhateverTheResult) {
    FrameCommands c(false);
    for (bool found : {false, true}) {
        c.SearchEnded(found);
        for (const res::MenuText& m : res::kMenuTexts)
            EXPECT_FALSE(c.Enabled(m.id)) << m.id;
        for (const FocusRoute& r : kFocusRoutes)
            EXPECT_FALSE(c.Enabled(r.command)) << r.command;
    }
    // One registration each; then the result rules decide.
    c.SetHandled(cmd::NextGroup, true);
    c.SetHandled(cmd::Options, true);
    EXPECT_TRUE(c.Enabled(cmd::NextGroup));
    EXPECT_TRUE(c.Enabled(cmd::Options));
    EXPECT_FALSE(c.Enabled(cmd::PreviousGroup));
    c.ShowOneList();
    EXPECT_FALSE(c.Enabled(cmd::NextGroup));
    c.ShowTreeAndList(true);
    EXPECT_TRUE(c.Enabled(cmd::NextGroup));
    c.SearchEnded(false);
    EXPECT_FALSE(c.Enabled(cmd::NextGroup));
    EXPECT_TRUE(c.Enabled(cmd::Options));
    c.SetHandled(cmd::Options, false);
    EXPECT_FALSE(c.Enabled(cmd::Options));
    EXPECT_FALSE(c.Handled(0));
}

TEST(FrameCommands, AFocusDependentAcceleratorWorksWhenAnyPaneCommandIsBuilt) {
    FrameCommands c(false);
    EXPECT_FALSE(c.Enabled(cmd::FocusPreserve));
    c.SetHandled(cmd::CloneOnlyPreserve, true);
    EXPECT_TRUE(c.Handled(cmd::FocusPreserve));
    EXPECT_TRUE(c.Enabled(cmd::FocusPreserve));
    EXPECT_FALSE(c.Enabled(cmd::FocusDelete));
    EXPECT_FALSE(c.Enabled(cmd::FocusStatistics));
    c.SetHandled(cmd::DirStatistics, true);
    EXPECT_TRUE(c.Enabled(cmd::FocusStatistics));
    EXPECT_FALSE(c.Enabled(cmd::FileOnlyPreserve)) << "the pane commands keep their own state";
    c.SetHandled(cmd::CloneOnlyPreserve, false);
    EXPECT_FALSE(c.Enabled(cmd::FocusPreserve));
}

TEST(FrameCommands, TabGoesTreeFileListCloneListAndTheOneListKeepsIt) {
    using P = FramePane;
    struct Case {
        P from, forward, backward;
    };
    const Case cases[] = {
        {P::Tree, P::FileList, P::CloneList}, {P::FileList, P::CloneList, P::Tree},
        {P::CloneList, P::Tree, P::FileList}, {P::OneList, P::OneList, P::OneList},
        {P::None, P::None, P::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextPane(c.from, true), c.forward) << int(c.from);
        EXPECT_EQ(NextPane(c.from, false), c.backward) << int(c.from);
    }
}

TEST(FrameCommands, OnlyMenuStyleOneIsStyledEveryOtherValuePlain) {
    EXPECT_EQ(MenuStyleOf(1), MenuStyle::OfficeXP);
    // A damaged value keeps the menus: drawn as the platform draws them.
    for (int style : {0, -1, 2, 3, 100})
        EXPECT_EQ(MenuStyleOf(style), MenuStyle::WindowsDefault) << style;
}

} // namespace
} // namespace paradrex
