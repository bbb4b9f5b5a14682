// Saving a result and opening it again: the same model comes back (marks,
// names by address, clone-set order, tree, rows); a file that is not a
// whole, consistent result file is refused and changes nothing.

#include "fileops/ResultFile.h"

#include "ResultDump.h"
#include "engine/BlockPool.h"
#include "engine/ResultGroups.h"
#include "fileops/FileRename.h"
#include "support/EngineFixture.h"
#include "support/ResultAssertions.h"
#include "support/ScopedEnvironment.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex {
namespace {

using test::DumpModel;
using test::Succeeded;

// A name of its own in the record pool, as renaming gives a file.
FileRecord* Find(const SearchState& s, std::string_view relPath, const std::string& root) {
    for (const DuplicateGroup& g : ResultGroups(s))
        for (FileRecord* f : g)
            if (FilePath(*f) == root + "/" + std::string(relPath))
                return f;
    return nullptr;
}

class ResultFileTest : public test::EngineTest {
protected:
    std::string saved() const { return files.path("result.pdxr"); }

    void Save(const SearchState& s) { ASSERT_TRUE(Succeeded(SaveResultFile(s, saved()))); }

    FileRecord* File(std::string_view rel) {
        FileRecord* f = Find(state, rel, tree.root());
        EXPECT_NE(f, nullptr) << rel;
        return f;
    }

    // Renames on disk and points the record at a new pool text, as the
    // rename commands do (or at `text`, another record's name).
    void Rename(std::string_view rel, std::string_view to, const char* text = nullptr) {
        FileRecord* f = File(rel);
        ASSERT_NE(f, nullptr);
        const FileOutcome renamed = RenameFile(*f, to);
        ASSERT_TRUE(renamed.succeeded()) << renamed.path;
        f->name = text ? text : CopyName(state.recordPool, to);
    }

    test::TempTree files; // where result files go, outside the searched tree
};

TEST_F(ResultFileTest, ReopeningGivesTheSameModelAfterMarksAndRenames) {
    // Clone sets of several shapes, many of them (one per directory dNN, so
    // their order follows record places across more than 256 bytes of the
    // name pool), a run group, and names that are not UTF-8 or hold blanks,
    // newlines and quotes.
    tree.createFile("a/one", "1");
    tree.createFile("b/one", "1");
    tree.createFile("c/sub/one", "1");
    tree.createFile("a/two", "22");
    tree.createFile("b/two", "22");
    tree.createFile("a/\xe9t\xe9", "333");
    tree.createFile("b/new\nline \"q\"", "333");
    for (int i = 0; i < 5; ++i)
        tree.createFile("run/" + std::to_string(i), "run!");
    for (int i = 0; i < 3; ++i)
        tree.createFile("three/" + std::to_string(i), "trio");
    tree.createFile("u/1", "four");
    tree.createFile("u/2", "four");
    tree.createFile("v/1", "four");
    tree.createFile("v/2", "four");
    for (int i = 0; i < 40; ++i) {
        const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        const std::string content = "content of d" + n;
        tree.createFile("d" + n + "/a rather long file name to fill the pool " + n, content);
        tree.createFile("e/copy " + n, content);
    }
    state.job.includeHidden = 1;
    state.job.typeList = {};
    ASSERT_EQ(Search(), 0);
    ASSERT_GT(state.cloneSets.size(), 40u);
    ASSERT_EQ(state.runGroups.size(), 1u);

    SetStateRecursive(*FindResultDir(state.resultRoot.get(), tree.path("e")), FileState::Deleted);
    File("a/one")->state = FileState::Preserved;
    File("run/3")->state = FileState::Deleted;
    Rename("a/two", "renamed two");
    Rename("b/one", "shared");
    Rename("c/sub/one", "shared", File("b/shared")->name); // one text, two files
    FileRecord* back = File("u/1");
    back->name = CopyName(state.recordPool, back->originName); // renamed onto its own origin text

    Save(state);
    const std::string before = DumpModel(state);
    std::map<std::string, uint32_t> places; // the low four bytes of every directory record
    for (const DuplicateGroup& g : ResultGroups(state))
        for (const FileRecord* f : g)
            places[DirectoryPath(f->directory)] =
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(f->directory));

    SearchState reopened;
    const OpenOutcome opened = OpenResultFile(reopened, saved());
    ASSERT_TRUE(opened.ok()) << opened.error->Message();
    EXPECT_TRUE(opened.dropped.empty()) << opened.dropped.Summary();
    EXPECT_EQ(DumpModel(reopened), before);
    for (const DuplicateGroup& g : ResultGroups(reopened))
        for (const FileRecord* f : g)
            EXPECT_EQ(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(f->directory)),
                      places.at(DirectoryPath(f->directory)));
    // Names by address: the file renamed onto its origin text is still renamed.
    FileRecord* u1 = Find(reopened, "u/1", tree.root());
    ASSERT_NE(u1, nullptr);
    EXPECT_NE(u1->name, u1->originName);
    EXPECT_STREQ(u1->name, u1->originName);
    EXPECT_EQ(ReviewFingerprint(reopened), ReviewFingerprint(state));

    // Saving the reopened result writes the same file again.
    const std::string first = files.readFile("result.pdxr");
    Save(reopened);
    EXPECT_EQ(files.readFile("result.pdxr"), first);
}

TEST_F(ResultFileTest, AResultWithoutDuplicatesComesBackEmptyWithItsJob) {
    tree.createFile("only", "x");
    state.job.minSizeEnabled = true;
    state.job.minSize = 1;
    state.job.typeList = {"jpg", "png"};
    ASSERT_EQ(Search(), 0);
    ASSERT_EQ(state.resultRoot, nullptr);
    Save(state);
    SearchState reopened;
    ASSERT_TRUE(OpenResultFile(reopened, saved()).ok());
    EXPECT_EQ(reopened.resultRoot, nullptr);
    EXPECT_EQ(DumpModel(reopened), DumpModel(state));
}

TEST_F(ResultFileTest, OpeningReplacesTheCurrentResultAtOnce) {
    tree.createFile("a/x", "same");
    tree.createFile("b/x", "same");
    ASSERT_EQ(Search(), 0);
    Save(state);
    const std::string saved_model = DumpModel(state);

    test::TempTree other;
    SearchState current;
    current.job.roots.Add(other.root());
    other.createFile("p", "other");
    other.createFile("q", "other");
    current.ClearFlags();
    ASSERT_EQ(RunSearch(current, env), 0);
    ASSERT_TRUE(OpenResultFile(current, saved()).ok());
    EXPECT_EQ(DumpModel(current), saved_model);
}

// Text replacements that break a saved result one way each.
struct Damage {
    const char* what;
    std::string from, to; // the first `from` becomes `to`
    ResultFileError::Kind kind;
    const char* message;    // a part of the message
    bool withValue = false; // `from` up to the next ',' becomes `to`
};

TEST_F(ResultFileTest, ADamagedFileIsRefusedWithAClearMessageAndChangesNothing) {
    tree.createFile("a/x", "same");
    tree.createFile("b/x", "same");
    tree.createFile("a/y", "pair");
    tree.createFile("b/y", "pair");
    for (int i = 0; i < 4; ++i)
        tree.createFile("r/" + std::to_string(i), "run");
    ASSERT_EQ(Search(), 0);
    Save(state);
    const std::string good = files.readFile("result.pdxr");
    const std::string model = DumpModel(state);
    const std::string root = tree.root();
    using K = ResultFileError::Kind;
    const std::string file0 = R"({"dir":1,)";
    const Damage cases[] = {
        {"bad version", R"("version":1)", R"("version":2)", K::NewerVersion,
         "newer Paradrex (format version 2)"},
        {"version 0", R"("version":1)", R"("version":0)", K::Damaged, "no format version 0"},
        {"another format", "paradrex-result", "paradrex-review", K::NotAResult,
         "is not a Paradrex result file"},
        {"the command line's JSON", good, R"({"counters":{},"cloneSets":[]})", K::NotAResult,
         "not a Paradrex result file"},
        {"bad JSON: no colon", R"("job":{)", R"("job"{)", K::Damaged, "expected ':'"},
        {"bad JSON: trailing comma", R"("types":[])", R"("types":[],)", K::Damaged,
         "expected a field name"},
        {"bad JSON: a stray byte", "\n\"counters\"", "\n#\"counters\"", K::Damaged,
         "expected a field name, found '#'"},
        {"wrong type: size", R"("size":4)", R"("size":"4")", K::Damaged,
         "\"size\" should be a number, not a string"},
        {"wrong type: state", R"("state":"Unsettled")", R"("state":0)", K::Damaged,
         "\"state\" should be a string"},
        {"wrong type: roots", R"("roots":[)", R"("roots":{)", K::Damaged,
         "expected an array, found an object"},
        {"wrong type: flag", R"("includeHidden":false)", R"("includeHidden":0)", K::Damaged,
         "should be true or false"},
        {"unknown state", R"("state":"Unsettled")", R"("state":"Kept")", K::Damaged,
         "\"Kept\" is not a file state"},
        {"fraction", R"("ns":)", R"("ns":0.5,"x":)", K::Damaged, "whole number"},
        {"duplicate field", R"("state":"Unsettled")", R"("state":"Unsettled","state":"Deleted")",
         K::Damaged, "\"state\" appears twice in a file"},
        {"duplicate member", "\n\"counters\"", "\n\"job\":{},\"counters\"", K::Damaged,
         "the member \"job\" appears twice"},
        {"misspelt field", R"(,"inode":)", R"(,"inodes":)", K::Damaged,
         "unknown member \"inodes\" in a file"},
        {"field twice", R"(,"device":)", R"(,"inode":1,"device":)", K::Damaged,
         "\"inode\" appears twice in a file"},
        {"unknown member", "\n\"counters\"", "\n\"nothing\"", K::Damaged,
         "unknown member \"nothing\""},
        {"member missing", R"("cloneSets":)", R"("runGroups":[],"x":)", K::Damaged,
         "the member \"cloneSets\" is missing"},
        {"file field missing", R"(,"inode":)", "", K::Damaged, "\"inode\" is missing from a file",
         true},
        {"origin missing", R"(,"origin":)", "", K::Damaged, "\"origin\" is missing from a file",
         true},
        {"place missing", R"({"at":0,)", "{", K::Damaged, "\"at\" is missing from a directory"},
        {"job field missing", R"("minSize":)", R"("minSizeEnabled":false)", K::Damaged,
         "\"minSizeEnabled\" appears twice in the job", true},
        {"job field lost", R"(,"minSize":)", "", K::Damaged, "\"minSize\" is missing from the job",
         true},
        {"counter missing", R"(,"buildTime":)", "", K::Damaged,
         "\"buildTime\" is missing from the counters", true},
        {"unknown member at the end", "]}\n", R"(],"extra":1})", K::Damaged,
         "unknown member \"extra\""},
        {"path outside the roots", "\"name\":\"" + root + "\"", R"("name":"/elsewhere")",
         K::Damaged, "\"/elsewhere\" is not one of the searched directories"},
        {"a directory that climbs", R"("name":"a")", R"("name":"..")", K::Damaged,
         "\"..\" is not one path component"},
        {"a directory with a slash", R"("name":"a")", R"("name":"a/b")", K::Damaged,
         "is not one path component"},
        {"a file name with a slash", R"("origin":"x")", R"("origin":"../x")", K::Damaged,
         "the file name \"../x\" is not one path component"},
        {"a renamed file outside", R"("origin":"x")", R"("origin":"x","name":"..")", K::Damaged,
         "the file name \"..\""},
        {"a root that is not normal", "\"roots\":[\"" + root, "\"roots\":[\"" + root + "/.",
         K::Damaged, "not an absolute, normal path"},
        {"huge size", R"("size":4)", R"("size":18446744073709551616)", K::Damaged,
         "\"size\" should be a whole number from 0 to 18446744073709551615"},
        {"huge nanoseconds", R"("ns":)", R"("ns":1000000000,"x":)", K::Damaged,
         "\"ns\" should be a whole number from 0 to 999999999"},
        {"huge place", R"("at":0)", R"("at":4294967296)", K::Damaged,
         "\"at\" should be a whole number from 0 to 4294967295"},
        {"a place across a block end", R"("at":0)", R"("at":65516)", K::Damaged,
         "a directory cannot lie at 65516"},
        {"places out of order", R"("at":0)", R"("at":4000)", K::Damaged,
         "not in the order of their places"},
        {"huge directory index", file0, R"({"dir":99999,)", K::Damaged,
         "\"dir\" 99999 is not a directory"},
        {"a later parent", R"("parent":0)", R"("parent":7)", K::Damaged,
         "the parent 7 is not an earlier directory"},
        {"huge counter", R"("fileCount":)", R"("fileCount":4294967296,"x":)", K::Damaged,
         "\"fileCount\" should be a whole number from 0 to 4294967295"},
        {"huge validated", R"("validated":-1)", R"("validated":-2147483649)", K::Damaged,
         "\"validated\" should be a whole number from -2147483648"},
        {"a group of one", R"(},{"dir")", R"(}],[{"dir")", K::Damaged,
         "a group has fewer than two files"},
        {"sizes differ", R"("size":4,)", R"("size":5,)", K::Damaged,
         "the files of a group differ in size"},
        {"a file twice", R"("inode":)", R"("inode":0,"x":)", K::Damaged, "unknown member"},
        {"an empty clone set", "\"cloneSets\":[\n", "\"cloneSets\":[[],\n", K::Damaged,
         "a clone set has no groups"},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = good;
        const size_t at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        const size_t end =
            c.withValue ? text.find_first_of(",}", at + c.from.size()) : at + c.from.size();
        text.replace(at, end - at, c.to);
        files.createFile("result.pdxr", text);
        const OpenOutcome opened = OpenResultFile(state, saved());
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error->kind, c.kind);
        const std::string message = opened.error->Message();
        EXPECT_NE(message.find(saved()), std::string::npos) << message;
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_EQ(DumpModel(state), model); // the current result stays, whole
    }
}

TEST_F(ResultFileTest, InconsistentGroupsAreRefused) {
    tree.createFile("a/x", "same");
    tree.createFile("b/x", "same");
    tree.createFile("a/y", "pair");
    tree.createFile("b/y", "pair");
    tree.createFile("c/z", "trio");
    tree.createFile("c/zz", "trio");
    tree.createFile("c/zzz", "trio");
    for (int i = 0; i < 4; ++i)
        tree.createFile("r/" + std::to_string(i), "run");
    ASSERT_EQ(Search(), 0);
    Save(state);
    std::string good = files.readFile("result.pdxr");
    const std::string model = DumpModel(state);

    // Rewrites the clone sets and run groups with groups cut out of the good
    // file: G(i) is its i-th group (clone sets in order, then run groups).
    std::vector<std::string> groups;
    {
        const size_t sets = good.find("\"cloneSets\":[");
        for (size_t at = good.find("\n[{", sets); at != std::string::npos;
             at = good.find("\n[{", at + 1))
            groups.push_back(good.substr(at + 1, good.find("}]", at) + 2 - at - 1));
    }
    ASSERT_EQ(groups.size(), 4u); // x, y (one clone set), z (three in c), the run group
    const std::string head = good.substr(0, good.find("\"cloneSets\":["));
    auto make = [&](const std::string& sets, const std::string& runs) {
        return head + "\"cloneSets\":[" + sets + "],\n\"runGroups\":[" + runs + "]}\n";
    };
    files.createFile("result.pdxr",
                     make("[" + groups[0] + "," + groups[1] + "],[" + groups[2] + "]", groups[3]));
    SearchState same;
    ASSERT_TRUE(OpenResultFile(same, saved()).ok()); // the pieces are right
    ASSERT_EQ(DumpModel(same), model);
    struct Case {
        const char* what;
        std::string text;
        const char* message;
    } cases[] = {
        {"a clone set's groups in different directories",
         make("[" + groups[0] + "," + groups[2] + "]", groups[3]),
         "the groups of a clone set lie in different directories"},
        {"two clone sets in the same directories",
         make("[" + groups[0] + "],[" + groups[1] + "],[" + groups[2] + "]", groups[3]),
         "two clone sets lie in the same directories"},
        {"a run group among the clone sets",
         make("[" + groups[0] + "," + groups[1] + "],[" + groups[3] + "]", ""),
         "a clone set's group has four files in one directory in a row"},
        {"a clone set's group among the run groups",
         make("[" + groups[0] + "," + groups[1] + "]", groups[2] + "," + groups[3]),
         "a run group has no four files in one directory in a row"},
        {"a file listed twice",
         make("[" + groups[0] + "," + groups[0] + "],[" + groups[2] + "]", groups[3]),
         "is the same file (device and inode) as"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.createFile("result.pdxr", c.text);
        const OpenOutcome opened = OpenResultFile(state, saved());
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error->kind, ResultFileError::Kind::Damaged);
        EXPECT_NE(opened.error->Message().find(c.message), std::string::npos)
            << opened.error->Message();
        EXPECT_EQ(DumpModel(state), model);
    }
}

TEST_F(ResultFileTest, AFileThatCannotBeReadOrEndsEarlyIsRefused) {
    tree.createFile("a/x", "same");
    tree.createFile("b/x", "same");
    ASSERT_EQ(Search(), 0);
    Save(state);
    const std::string good = files.readFile("result.pdxr");
    const std::string model = DumpModel(state);

    OpenOutcome opened = OpenResultFile(state, files.path("missing.pdxr"));
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.error->kind, ResultFileError::Kind::Unreadable);
    EXPECT_EQ(opened.error->Message(), "The result file " + files.path("missing.pdxr") +
                                           " could not be read: No such file or directory.");
    opened = OpenResultFile(state, files.root());
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.error->Message(),
              "The result file " + files.root() + " could not be read: Is a directory.");

    for (size_t length : {size_t{0}, size_t{1}, size_t{30}, good.size() / 2, good.size() - 3}) {
        SCOPED_TRACE(length);
        files.createFile("result.pdxr", good.substr(0, length));
        opened = OpenResultFile(state, saved());
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error->kind, ResultFileError::Kind::Damaged);
        EXPECT_TRUE(opened.error->truncated);
        EXPECT_EQ(opened.error->Message(),
                  "The result file " + saved() + " is incomplete: it ends at byte " +
                      std::to_string(length) + ", before the result does.");
    }
    EXPECT_EQ(DumpModel(state), model);
}

// Random truncations and flipped bytes: a broken file is refused without
// harm; one that still reads is a consistent result. (Under the sanitizers
// CI runs this catches any read out of bounds.)
TEST_F(ResultFileTest, RandomDamageNeverHarms) {
    for (int i = 0; i < 6; ++i) {
        tree.createFile("a/" + std::to_string(i), "content " + std::to_string(i % 3));
        tree.createFile("b/\xff" + std::to_string(i), "content " + std::to_string(i % 3));
    }
    for (int i = 0; i < 5; ++i)
        tree.createFile("r/" + std::to_string(i), "run");
    ASSERT_EQ(Search(), 0);
    Save(state);
    const std::string good = files.readFile("result.pdxr");
    const std::string model = DumpModel(state);
    const size_t end = good.rfind('}'); // the newline after it may go

    std::mt19937 random(20240613);
    for (int round = 0; round < 300; ++round) {
        std::string text = good;
        const bool truncate = round % 2 == 0;
        if (truncate) {
            text.resize(std::uniform_int_distribution<size_t>(0, end)(random));
        } else {
            for (int k = std::uniform_int_distribution<int>(1, 3)(random); k > 0; --k)
                text[std::uniform_int_distribution<size_t>(0, text.size() - 1)(random)] =
                    static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
        }
        files.createFile("result.pdxr", text);
        SearchState target;
        target.job.roots.Add("/kept");
        const OpenOutcome opened = OpenResultFile(target, saved());
        if (truncate) {
            ASSERT_FALSE(opened.ok()) << "a cut at " << text.size() << " was read";
        }
        if (!opened.ok()) {
            EXPECT_FALSE(opened.error->Message().empty());
            EXPECT_EQ(target.job.roots.ToVector(), std::vector<std::string>{"/kept"});
            continue;
        }
        // Still read: every group is whole and the tree points at it.
        for (const DuplicateGroup& g : ResultGroups(target))
            ASSERT_GE(g.size(), 2u);
        (void)DumpModel(target);
    }
    EXPECT_EQ(DumpModel(state), model);
}

TEST_F(ResultFileTest, SavingWhereNothingMayBeWrittenFailsAndKeepsTheOldFile) {
    tree.createFile("a/x", "same");
    tree.createFile("b/x", "same");
    ASSERT_EQ(Search(), 0);
    const std::string target = files.path("no such folder/result.pdxr");
    platform::Result<void> r = SaveResultFile(state, target);
    ASSERT_FALSE(r);
    EXPECT_EQ(SaveResultFailureMessage(target, r.error()),
              "The result could not be saved to " + target + ": No such file or directory.");
}

TEST(ResultFileName, TheSuffixIsAddedOnlyWhenMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"/r/review", "/r/review.pdxr"},
        {"/r/review.pdxr", "/r/review.pdxr"},
        {"/r/review.PDXR", "/r/review.PDXR.pdxr"},
        {"/r/review.pdxr.txt", "/r/review.pdxr.txt.pdxr"},
        {"/r/.pdxr", "/r/.pdxr.pdxr"}, // a hidden file named only by the suffix
        {".pdxr", ".pdxr.pdxr"},
        {"/r/a b $(x).pdxr", "/r/a b $(x).pdxr"},
    };
    for (const auto& [typed, saved] : cases)
        EXPECT_EQ(WithResultSuffix(typed), saved) << typed;
}

TEST_F(ResultFileTest, TheLastResultIsKeptInTheStateFolder) {
    test::ScopedEnvironment env;
    env.Set("XDG_STATE_HOME", files.path("state"));
    EXPECT_EQ(LastResultPath(), files.path("state") + "/Paradrex/last.pdxr");
    tree.createFile("a/x", "same");
    tree.createFile("b/x", "same");
    ASSERT_EQ(Search(), 0);
    ASSERT_TRUE(Succeeded(KeepLastResult(state)));
    struct stat st {};
    ASSERT_EQ(::stat(files.path("state/Paradrex").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    SearchState reopened;
    ASSERT_TRUE(OpenResultFile(reopened, LastResultPath()).ok());
    EXPECT_EQ(DumpModel(reopened), DumpModel(state));

    // The kept file under any name is the last result; a copy is not.
    EXPECT_TRUE(IsLastResultFile(LastResultPath()));
    ASSERT_EQ(::symlink((files.path("state") + "/Paradrex").c_str(), files.path("link").c_str()),
              0);
    EXPECT_TRUE(IsLastResultFile(files.path("link") + "/last.pdxr"));
    ASSERT_TRUE(Succeeded(SaveResultFile(state, files.path("copy.pdxr"))));
    EXPECT_FALSE(IsLastResultFile(files.path("copy.pdxr")));
    EXPECT_FALSE(IsLastResultFile(files.path("missing.pdxr")));

    env.Set("XDG_STATE_HOME", std::nullopt).Set("HOME", "/home/someone");
    EXPECT_EQ(LastResultPath(), "/home/someone/.local/state/Paradrex/last.pdxr");
}

TEST_F(ResultFileTest, TheFingerprintFollowsTheReview) {
    tree.createFile("a/x", "same");
    tree.createFile("b/x", "same");
    tree.createFile("a/y", "pair");
    tree.createFile("b/y", "pair");
    ASSERT_EQ(Search(), 0);
    const uint64_t fresh = ReviewFingerprint(state);
    FileRecord* f = File("a/x");
    f->state = FileState::Deleted;
    const uint64_t marked = ReviewFingerprint(state);
    EXPECT_NE(marked, fresh);
    f->name = CopyName(state.recordPool, f->originName); // a name of its own, same text
    const uint64_t renamed = ReviewFingerprint(state);
    EXPECT_NE(renamed, marked);
    f->name = f->originName;
    EXPECT_EQ(ReviewFingerprint(state), marked);
    state.cloneSets.begin()->second.pop_back();
    EXPECT_NE(ReviewFingerprint(state), marked);
}

} // namespace
} // namespace paradrex
