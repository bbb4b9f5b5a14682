#include "review/Marking.h"
#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "review/Browser.h"
#include "review/ResultTreeOrder.h"

#include "support/HandBuiltResult.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace paradrex {
namespace {

// A hand-built result; files are named "<directory>/<name>":
//   /t            no files of its own
//     p           blocks: S1 at p (3 groups with r), S2 at p (2 groups with q and
//                 r), S3 at p twice (one group p, p, r), the run r1..r4
//       q         S2 at q, the run's last file r5
//   /r            S1, S2 and S3 at r (its files are labelled r/...)
class Marking : public test::HandBuiltResult {
protected:
    Marking() {
        const NameRecord* t = Dir(nullptr, "/t");
        dirs_["p"] = Dir(t, "p");
        dirs_["q"] = Dir(dirs_["p"], "q");
        dirs_["r"] = Dir(nullptr, "/r");
        dirs_["t"] = t;
        for (const char* g : {"a1", "a2", "a3"})
            StoreGroup(state, {F("p", g), F("r", g)});
        for (const char* g : {"h1", "h2"})
            StoreGroup(state, {F("p", g), F("q", g), F("r", g)});
        StoreGroup(state, {F("p", "d1"), F("p", "e1"), F("r", "d1")});
        StoreGroup(state, {F("p", "r1"), F("p", "r2"), F("p", "r3"), F("p", "r4"), F("q", "r5")});
        BuildResultTree(state);
        browser.SetResult(&state);
    }

    FileRecord* F(const std::string& dir, const char* name) {
        FileRecord* f = File(dirs_.at(dir), name);
        files_[dir + "/" + name] = f;
        return f;
    }
    ResultDir* DirOf(const std::string& dir) {
        return ResultDirOf(state.resultRoot.get(), dirs_.at(dir));
    }
    // Shows `dir` with the row of `selected` (empty: none) selected.
    void Show(const std::string& dir, const std::string& selected = {}) {
        browser.SelectDirectory(DirOf(dir));
        ASSERT_EQ(browser.selectedDirectory(), DirOf(dir));
        if (selected.empty())
            return;
        std::optional<size_t> row = FileListRowOf(browser.fileRows(), files_.at(selected));
        ASSERT_TRUE(row) << selected;
        browser.SelectRow(row);
    }
    std::optional<size_t> CloneRow(const std::string& label) {
        std::span<FileRecord* const> clones = browser.cloneRows();
        for (size_t i = 0; i < clones.size(); ++i)
            if (clones[i] == files_.at(label))
                return i;
        return std::nullopt;
    }
    size_t FileRow(const std::string& label) {
        return FileListRowOf(browser.fileRows(), files_.at(label)).value();
    }

    // States as "label=P label=D ..." for every file not Unsettled: "*=X"
    // first sets every file to X.
    void Preset(const std::string& spec) {
        for (const auto& [label, state] : Parse(spec))
            if (label == "*")
                for (auto& [l, f] : files_)
                    f->state = state;
            else
                files_.at(label)->state = state;
    }
    // Every file's state after applying `changes` to `preset`, and now.
    std::string Expected(const std::string& preset, const std::string& changes) {
        std::map<std::string, FileState> all;
        for (const auto& [label, f] : files_)
            all[label] = FileState::Unsettled;
        for (const auto& [label, state] : Parse(preset + " " + changes))
            if (label == "*")
                for (auto& [l, s] : all)
                    s = state;
            else
                all.at(label) = state;
        return Text(all);
    }
    std::string Actual() {
        std::map<std::string, FileState> all;
        for (const auto& [label, f] : files_)
            all[label] = f->state;
        return Text(all);
    }
    // The files whose file-list or clone-list icons an update repaints.
    std::string FileIcons(const MarkingUpdate& u) {
        std::string s;
        size_t last = 0;
        for (const RowSpan& span : u.fileRows) {
            EXPECT_TRUE(s.empty() || span.first > last) << "spans ascending and disjoint";
            for (size_t r = span.first; r < span.first + span.count; ++r)
                s += (s.empty() ? "" : " ") + Label(browser.fileRows().at(r).file);
            last = span.first + span.count;
        }
        return s;
    }
    std::string CloneIcons(const MarkingUpdate& u) {
        std::string s;
        if (u.cloneRows)
            for (size_t r = u.cloneRows->first; r < u.cloneRows->first + u.cloneRows->count; ++r)
                s += (s.empty() ? "" : " ") + Label(browser.cloneRows()[r]);
        return s;
    }

    Browser browser;

private:
    static std::vector<std::pair<std::string, FileState>> Parse(const std::string& spec) {
        std::vector<std::pair<std::string, FileState>> out;
        std::istringstream in(spec);
        std::string item;
        while (in >> item) {
            const size_t eq = item.find('=');
            const char c = item.at(eq + 1);
            out.emplace_back(item.substr(0, eq), c == 'P'   ? FileState::Preserved
                                                 : c == 'D' ? FileState::Deleted
                                                            : FileState::Unsettled);
        }
        return out;
    }
    static std::string Text(const std::map<std::string, FileState>& all) {
        std::string s;
        for (const auto& [label, state] : all)
            if (state != FileState::Unsettled)
                s += label + (state == FileState::Preserved ? "=P " : "=D ");
        return s;
    }
    std::string Label(const FileRecord* f) {
        for (const auto& [label, file] : files_)
            if (file == f)
                return label;
        return "?";
    }

    std::map<std::string, const NameRecord*> dirs_;
    std::map<std::string, FileRecord*> files_;
};

constexpr FileState P = FileState::Preserved;
constexpr FileState D = FileState::Deleted;
constexpr FileState U = FileState::Unsettled;

const char* const kAllOfP = "p/a1=X p/a2=X p/a3=X p/h1=X p/h2=X p/d1=X p/e1=X p/r1=X p/r2=X "
                            "p/r3=X p/r4=X";

char Letter(FileState s) {
    return s == P ? 'P' : s == D ? 'D' : 'U';
}

// A list of "label=X" with X replaced by a state letter.
std::string With(const char* spec, char state) {
    std::string s = spec;
    for (char& c : s)
        if (c == 'X')
            c = state;
    return s;
}

TEST_F(Marking, SetAllFilesOfADirectoryPlainOrWithItsSubdirectories) {
    struct Case {
        const char* dir;
        FileState value;
        bool recursive;
        const char* preset;
        std::string changes;
    } cases[] = {
        {"p", P, false, "", With(kAllOfP, 'P')},
        {"p", D, true, "", With(kAllOfP, 'D') + " q/h1=D q/h2=D q/r5=D"},
        // /t holds nothing itself: only the recursive form reaches p and q.
        {"t", U, true, "*=P", With(kAllOfP, 'U') + " q/h1=U q/h2=U q/r5=U"},
        {"t", D, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dir) + (c.recursive ? " recursive" : " plain"));
        Preset("*=U " + std::string(c.preset));
        Show(c.dir, c.dir == std::string("p") ? "p/a2" : "");
        MarkingUpdate u = SetDirectoryFiles(browser, c.value, c.recursive);
        EXPECT_EQ(Actual(), Expected(c.preset, c.changes));
        // The file list is filled again and its first row selected.
        EXPECT_TRUE(u.refillFileList);
        EXPECT_EQ(u.selectFileRow,
                  browser.fileRows().empty() ? std::nullopt : std::optional<size_t>(0));
        EXPECT_TRUE(u.fileRows.empty());
    }
}

TEST_F(Marking, OnlyPreserveOrDeleteFilesInThisDirectoryDecidesOnlyUndecidedCopiesElsewhere) {
    struct Case {
        const char* name;
        const char* dir;
        FileState value;
        bool recursive;
        const char* preset;
        std::string changes;
    } cases[] = {
        // Every group with a copy here keeps exactly that copy; the run's
        // other file (in q) is not touched. Both copies of the group with two
        // files in p are p's files, so both are kept.
        {"all undecided", "p", P, false, "",
         With(kAllOfP, 'P') + " r/a1=D r/a2=D r/a3=D q/h1=D q/h2=D r/h1=D r/h2=D r/d1=D"},
        // A copy elsewhere already kept stays kept: two preserved copies.
        {"kept elsewhere", "p", P, false, "r/a1=P q/r5=D",
         With(kAllOfP, 'P') + " r/a2=D r/a3=D q/h1=D q/h2=D r/h1=D r/h2=D r/d1=D"},
        {"delete", "p", D, false, "",
         With(kAllOfP, 'D') + " r/a1=P r/a2=P r/a3=P q/h1=P q/h2=P r/h1=P r/h2=P r/d1=P"},
        // Children first: q's copies are kept before p is done, so a group
        // with a copy in p and one in q ends with both kept.
        {"recursive", "p", P, true, "",
         With(kAllOfP, 'P') + " q/h1=P q/h2=P q/r5=P r/a1=D r/a2=D r/a3=D r/h1=D r/h2=D r/d1=D"},
        // A run directory: only the run's file is decided.
        {"run only", "q", D, false, "p/r1=P", "q/h1=D q/h2=D q/r5=D p/h1=P p/h2=P r/h1=P r/h2=P"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Preset(std::string("*=U ") + c.preset);
        Show(c.dir);
        MarkingUpdate u = OnlyDirectoryFiles(browser, c.value, c.recursive);
        EXPECT_EQ(Actual(), Expected(c.preset, c.changes));
        EXPECT_TRUE(u.refillFileList);
        EXPECT_EQ(u.selectFileRow, 0u);
    }
}

TEST_F(Marking, OnlyPreserveOrDeleteTheSelectedFileOverwritesTheWholeGroup) {
    struct Case {
        const char* name;
        const char* dir;
        const char* selected;
        const char* clone; // null: from the file list (the selected row)
        FileState value;
        bool groupSet;
        const char* preset;
        const char* changes;
        const char* fileIcons;
        const char* cloneIcons;
    } cases[] = {
        {"file list, one group", "p", "p/a2", nullptr, P, false, "", "p/a2=P r/a2=D", "p/a2",
         "p/a2 r/a2"},
        // Group Set decides every group of the clone set at once.
        {"file list, group set", "p", "p/a2", nullptr, P, true, "",
         "p/a1=P p/a2=P p/a3=P r/a1=D r/a2=D r/a3=D", "p/a1 p/a2 p/a3", "p/a2 r/a2"},
        {"clone list, group set", "p", "p/a2", "r/a2", D, true, "",
         "p/a1=P p/a2=P p/a3=P r/a1=D r/a2=D r/a3=D", "p/a1 p/a2 p/a3", "p/a2 r/a2"},
        // Earlier decisions are overwritten: two kept copies end as one.
        {"overwrites", "p", "p/a2", "r/a2", P, false, "p/a2=P r/a2=P", "p/a2=D r/a2=P", "p/a2",
         "p/a2 r/a2"},
        // A run row decides its own group only, Group Set or not.
        {"run row", "p", "p/r2", nullptr, P, true, "", "p/r1=D p/r2=P p/r3=D p/r4=D q/r5=D",
         "p/r1 p/r2 p/r3 p/r4", "p/r1 p/r2 p/r3 p/r4 q/r5"},
        {"run row from the clone list", "q", "q/r5", "p/r3", D, true, "",
         "p/r1=P p/r2=P p/r3=D p/r4=P q/r5=P", "q/r5", "p/r1 p/r2 p/r3 p/r4 q/r5"},
        // A clone set at two positions of the shown directory: both blocks.
        {"two positions here", "p", "p/e1", nullptr, P, true, "", "p/d1=D p/e1=P r/d1=D",
         "p/d1 p/e1", "p/d1 p/e1 r/d1"},
        {"delete", "q", "q/h1", nullptr, D, true, "", "p/h1=P p/h2=P q/h1=D q/h2=D r/h1=P r/h2=P",
         "q/h1 q/h2", "p/h1 q/h1 r/h1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Preset(std::string("*=U ") + c.preset);
        Show(c.dir, c.selected);
        MarkingUpdate u;
        if (c.clone) {
            std::optional<size_t> row = CloneRow(c.clone);
            ASSERT_TRUE(row);
            u = OnlyCloneRow(browser, *row, c.value, c.groupSet);
        } else {
            u = OnlySelectedFile(browser, c.value, c.groupSet);
        }
        EXPECT_EQ(Actual(), Expected(c.preset, c.changes));
        EXPECT_FALSE(u.refillFileList);
        EXPECT_FALSE(u.selectFileRow);
        EXPECT_EQ(FileIcons(u), c.fileIcons);
        EXPECT_EQ(CloneIcons(u), c.cloneIcons);
    }
}

TEST_F(Marking, SetAllClonesWithAndWithoutGroupSet) {
    struct Case {
        const char* selected;
        FileState value;
        bool groupSet;
        const char* changes;
        const char* fileIcons;
    } cases[] = {
        // Group Set resets every group of the clone set, not only the shown one.
        {"p/h1", U, true, "p/h1=U p/h2=U q/h1=U q/h2=U r/h1=U r/h2=U", "p/h1 p/h2"},
        {"p/h1", U, false, "p/h1=U q/h1=U r/h1=U", "p/h1"},
        {"p/r4", D, true, "p/r1=D p/r2=D p/r3=D p/r4=D q/r5=D", "p/r1 p/r2 p/r3 p/r4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.selected) + (c.groupSet ? " group set" : ""));
        Preset("*=P");
        Show("p", c.selected);
        MarkingUpdate u = SetAllClones(browser, c.value, c.groupSet);
        EXPECT_EQ(Actual(), Expected("*=P", c.changes));
        EXPECT_EQ(FileIcons(u), c.fileIcons);
        EXPECT_EQ(u.cloneRows, (RowSpan{0, browser.cloneRows().size()}));
    }
}

TEST_F(Marking, SingleFileFromTheCloneListOrTheFileListWithTheGroupSetRule) {
    struct Case {
        const char* name;
        const char* dir;
        const char* selected;
        const char* clone; // marked from the clone list
        const char* row;   // else marked from the file list
        FileState value;
        bool groupSet;
        const char* changes;
        const char* fileIcons;
        const char* cloneIcons;
    } cases[] = {
        // Group Set marks the position in every group; the whole matching
        // block of the file list changes icon.
        {"clone, group set", "r", "r/h1", "r/h1", nullptr, D, true, "r/h1=D r/h2=D", "r/h1 r/h2",
         "r/h1"},
        {"clone, alone", "r", "r/h1", "r/h1", nullptr, D, false, "r/h1=D", "r/h1", "r/h1"},
        // A copy in another directory has no file-list row.
        {"clone elsewhere", "p", "p/h2", "q/h2", nullptr, P, true, "q/h1=P q/h2=P", "", "q/h2"},
        {"clone of a run", "q", "q/r5", "p/r1", nullptr, D, true, "p/r1=D", "", "p/r1"},
        {"row, group set", "p", "p/a3", nullptr, "p/a3", P, true, "p/a1=P p/a2=P p/a3=P",
         "p/a1 p/a2 p/a3", "p/a3"},
        {"row, alone", "p", "p/a3", nullptr, "p/a3", P, false, "p/a3=P", "p/a3", "p/a3"},
        {"run row, group set", "p", "p/r3", nullptr, "p/r3", D, true, "p/r3=D", "p/r3", "p/r3"},
        // The clone list shows another group: none of its rows changed.
        {"row not selected", "p", "p/a1", nullptr, "p/e1", D, true, "p/e1=D", "p/e1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Preset("*=U");
        Show(c.dir, c.selected);
        MarkingUpdate u;
        if (c.clone) {
            std::optional<size_t> row = CloneRow(c.clone);
            ASSERT_TRUE(row);
            u = MarkCloneRow(browser, *row, c.value, c.groupSet);
        } else {
            u = MarkFileRow(browser, FileRow(c.row), c.value, c.groupSet);
        }
        EXPECT_EQ(Actual(), Expected("", c.changes));
        EXPECT_EQ(FileIcons(u), c.fileIcons);
        EXPECT_EQ(CloneIcons(u), c.cloneIcons);
        EXPECT_FALSE(u.refillFileList);
    }
}

TEST_F(Marking, TheStateIconCyclesUnsettledPreservedDeleted) {
    EXPECT_EQ(NextState(U), P);
    EXPECT_EQ(NextState(P), D);
    EXPECT_EQ(NextState(D), U);
    EXPECT_EQ(OppositeState(P), D);
    EXPECT_EQ(OppositeState(D), P);
    EXPECT_EQ(OppositeState(U), U);

    // Three clicks return to the first state; Group Set carries each step
    // to the whole block.
    Show("p", "p/a1");
    const size_t row = FileRow("p/a1");
    for (FileState expected : {P, D, U}) {
        AdvanceFileRow(browser, row, true);
        EXPECT_EQ(Actual(), Expected("", With("p/a1=X p/a2=X p/a3=X", Letter(expected))));
    }
    // A double click is two advances; from the clone list with Group Set off
    // only that file moves.
    const size_t clone = CloneRow("r/a1").value();
    AdvanceCloneRow(browser, clone, false);
    MarkingUpdate u = AdvanceCloneRow(browser, clone, false);
    EXPECT_EQ(Actual(), Expected("", "r/a1=D"));
    EXPECT_EQ(CloneIcons(u), "r/a1");

    // The one list never applies Group Set.
    browser.FillOneList();
    ASSERT_FALSE(browser.oneRows().empty());
    u = AdvanceOneRow(browser, 0);
    EXPECT_EQ(u.oneRow, 0u);
    EXPECT_TRUE(u.fileRows.empty());
    EXPECT_EQ(browser.oneRows()[0].file->state, NextState(U));
    size_t decided = 0;
    for (const OneListRow& r : browser.oneRows())
        decided += r.file->state != U;
    EXPECT_EQ(decided, 2u) << "the advanced file and r/a1";
}

TEST_F(Marking, WithoutTheRowOrDirectoryItNeedsACommandDoesNothing) {
    Preset("*=U");
    EXPECT_TRUE(SetDirectoryFiles(browser, P, true).empty());
    EXPECT_TRUE(OnlyDirectoryFiles(browser, P, true).empty());
    Show("p");
    EXPECT_TRUE(OnlySelectedFile(browser, P, true).empty());
    EXPECT_TRUE(SetAllClones(browser, P, true).empty());
    EXPECT_TRUE(OnlyCloneRow(browser, 0, P, true).empty());
    EXPECT_TRUE(MarkCloneRow(browser, 0, P, true).empty());
    EXPECT_TRUE(AdvanceCloneRow(browser, 0, true).empty());
    EXPECT_TRUE(MarkFileRow(browser, browser.fileRows().size(), P, true).empty());
    EXPECT_TRUE(AdvanceOneRow(browser, 0).empty()) << "one list not filled";
    Show("p", "p/a1");
    EXPECT_TRUE(MarkCloneRow(browser, 2, P, true).empty()) << "a group of two";
    EXPECT_TRUE(OnlyCloneRow(browser, 2, P, true).empty());
    EXPECT_EQ(Actual(), Expected("", ""));
}

TEST_F(Marking, GroupSetDefaultsToTheProcessWideSwitch) {
    Show("p", "p/a1");
    ASSERT_TRUE(GroupSetSwitch::Instance().on()) << "on at start";
    MarkFileRow(browser, FileRow("p/a1"), P);
    EXPECT_EQ(Actual(), Expected("", "p/a1=P p/a2=P p/a3=P"));
    GroupSetSwitch::Instance().Flip();
    MarkFileRow(browser, FileRow("p/a1"), D);
    GroupSetSwitch::Instance().Flip();
    EXPECT_EQ(Actual(), Expected("", "p/a1=D p/a2=P p/a3=P"));
}

} // namespace
} // namespace paradrex
