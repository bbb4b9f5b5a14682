// Preview and Delete Files Marked Cross through the main window, on results
// of real searches of temporary trees, with the dialogs driven from timers.

#include "GuiTestSupport.h"
#include "engine/ResultGroups.h"
#include "engine/SearchState.h"
#include "fileops/LogFiles.h"
#include "fileops/Preview.h"
#include "gui/dialogs/CDelAskDlg.h"
#include "gui/dialogs/CDelEmptyDirDlg.h"
#include "gui/dialogs/CPreviewDlg.h"
#include "gui/dialogs/CProcessDlg.h"
#include "gui/dialogs/CRunDialog.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CFolderTreeModel.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "review/GroupSetSwitch.h"
#include "settings/SettingFile.h"
#include "support/IsolatedHome.h"
#include "support/TempTree.h"
#include "uimodel/CommandIds.h"

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <fstream>
#include <future>
#include <sstream>
#include <system_error>

using namespace paradrex;
using namespace Qt::Literals::StringLiterals;
using paradrex::test::Poller;
using paradrex::test::TempTree;
using paradrex::test::VisibleTopLevel;

namespace {

constexpr int kResultCommands[] = {32802, 137, 135, 32818, 134,  32828,
                                   32830, 140, 141, 32921, 32937};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The full paths of a result's files, in result order.
std::vector<std::string> ResultFiles(const SearchState& state) {
    std::vector<std::string> out;
    for (const DuplicateGroup& group : ResultGroups(state))
        for (const FileRecord* file : group)
            out.push_back(FilePath(*file));
    return out;
}

} // namespace

class DeleteCommandsTest : public QObject {
    Q_OBJECT

private:
    paradrex::test::TempWorkingDirectory cwd_;
    std::unique_ptr<QTemporaryDir> settingsDir_;
    std::unique_ptr<_Setting_file> settings_;
    std::unique_ptr<SearchState> state_;
    std::unique_ptr<TempTree> tree_;

    // A shown frame on fresh settings (a Delete Option of `option`) after a
    // search of the tree, which `fill` made.
    std::unique_ptr<CMainFrame> FrameAfterSearch(int option,
                                                 const std::function<void(TempTree&)>& fill) {
        GroupSetSwitch::Instance().Set(true);
        settings_.reset();
        settingsDir_ = std::make_unique<QTemporaryDir>();
        settings_ = std::make_unique<_Setting_file>(
            settingsDir_->path().toStdString(),
            _Setting_file::Options{_Setting_file::Access::ReadWrite, false});
        settings_->deleteOption.DeleteOption = option;
        state_ = std::make_unique<SearchState>();
        tree_ = std::make_unique<TempTree>();
        fill(*tree_);
        auto f = std::make_unique<CMainFrame>(*settings_, *state_, [this](QWidget*) {
            state_->job = SearchJob{};
            state_->job.roots.Add(tree_->root());
            return true;
        });
        // The frame opens New Search itself as it is shown (while the window
        // is being activated); Done once the search is over.
        Poller done([] {
            auto* run = VisibleTopLevel<CRunDialog>();
            if (!run || !run->findChild<QPushButton*>(u"id1028"_s)->isEnabled())
                return false;
            run->findChild<QPushButton*>(u"id1028"_s)->click();
            return true;
        });
        f->ShowAtStart();
        QApplication::setActiveWindow(f.get());
        (void)QTest::qWaitForWindowActive(f.get());
        (void)QTest::qWaitFor([&] { return done.done() && state_->resultRoot; }, 20000);
        return f;
    }

    void Mark(std::string_view rel, FileState value) {
        const std::string path = tree_->path(rel);
        for (const DuplicateGroup& group : ResultGroups(*state_))
            for (FileRecord* file : group)
                if (FilePath(*file) == path) {
                    file->state = value;
                    return;
                }
        QFAIL(qPrintable(u"not in the result: "_s + QString::fromStdString(path)));
    }

    static QString SelectedName(CMainFrame& f) {
        const std::optional<int> row = f.panes()->SelectedFileRow();
        const FileRecord* file =
            row ? f.panes()->listModel(ListKind::FileList)->FileAt(*row) : nullptr;
        return file ? QString::fromUtf8(FilePath(*file)) : QString();
    }

    static QStringList EnabledResultCommands(CMainFrame& f) {
        QStringList on;
        for (int id : kResultCommands)
            if (f.Action(id)->isEnabled())
                on << QString::number(id);
        return on;
    }

private slots:
    // The Confirm dialog after the two searches: its boxes say what they
    // found, the selection shows the last group found, Escape and the close
    // box do nothing, and No leaves everything as it was.
    void confirmationShowsWhatTheSearchesFound_data() {
        QTest::addColumn<bool>("allDeleted");
        QTest::addColumn<bool>("namesDiffer");
        QTest::addColumn<QString>("selected");
        QTest::newRow("both") << true << true << u"x/different"_s;
        QTest::newRow("all marked cross") << true << false << u"x/same"_s;
        QTest::newRow("names differ") << false << true << u"x/different"_s;
        QTest::newRow("neither") << false << false << u"x/first"_s;
    }
    void confirmationShowsWhatTheSearchesFound() {
        QFETCH(bool, allDeleted);
        QFETCH(bool, namesDiffer);
        QFETCH(QString, selected);
        auto f = FrameAfterSearch(0, [](TempTree& t) {
            t.createFile("x/first", "group one");
            t.createFile("y/first", "group one");
            t.createFile("x/same", "group two");
            t.createFile("y/same", "group two");
            t.createFile("x/different", "group three");
            t.createFile("y/other", "group three");
        });
        QVERIFY(state_->resultRoot);
        Mark("x/same", FileState::Deleted);
        Mark("y/same", allDeleted ? FileState::Deleted : FileState::Preserved);
        if (!namesDiffer) {
            // Renamed in the result only: the names are the same again.
            for (const DuplicateGroup& group : ResultGroups(*state_))
                for (FileRecord* file : group)
                    if (std::string_view(file->name) == "other")
                        file->name = "different";
        }
        const std::vector<std::string> before = ResultFiles(*state_);

        QStringList seen;
        QString shownRow;
        Poller answer([&] {
            auto* ask = VisibleTopLevel<CDelAskDlg>();
            if (!ask)
                return false;
            shownRow = SelectedName(*f).mid(int(tree_->root().size()) + 1);
            seen << ask->windowTitle() << ask->question();
            for (QCheckBox* box : {ask->allMarkedBox(), ask->nameMismatchBox()})
                seen << u"%1 %2 %3"_s.arg(box->text()).arg(box->isEnabled()).arg(box->isChecked());
            seen << (ask->Button(6)->isDefault() ? u"&Yes default"_s : u"?"_s)
                 << ask->Button(7)->text()
                 << (ask->windowFlags() & Qt::WindowCloseButtonHint ? u"close box"_s
                                                                    : u"no close box"_s);
            QTest::keyClick(ask, Qt::Key_Escape);
            ask->close();
            seen << (ask->isVisible() ? u"still open"_s : u"closed"_s);
            ask->Button(7)->click();
            return true;
        });
        f->RunCommand(cmd::DeleteMarked);
        QVERIFY(answer.done());
        QCOMPARE(shownRow, selected);
        QCOMPARE(
            seen,
            (QStringList{
                u"Confirm"_s,
                u"All files you had marked cross will be deleted to Recycle Bin. Are you sure?"_s,
                u"Include the file, it and its duplicate files all had been marked cross %1 0"_s
                    .arg(allDeleted),
                u"Include the file, the names of it and its duplicate files aren't all the "
                "same %1 %1"_s.arg(namesDiffer),
                u"&Yes default"_s, u"&No"_s, u"no close box"_s, u"still open"_s}));
        // No: nothing ran, nothing changed.
        QVERIFY(!VisibleTopLevel<CProcessDlg>());
        QCOMPARE(ResultFiles(*state_), before);
        QVERIFY(tree_->exists("x/same") && tree_->exists("y/same"));
        QCOMPARE(f->panes()->treeModel()->rowCount(), 1);
    }

    // The whole operation through the frame on a tree on disk: the files
    // marked cross go, the emptied directories are asked about bottom up,
    // the log and the lasting record hold the lines, and afterwards the
    // views show what is left (the one list when it is the view shown).
    void deleteActsOnDiskAndShowsWhatIsLeft_data() {
        QTest::addColumn<bool>("oneList");
        QTest::newRow("tree and list") << false;
        QTest::newRow("one list") << true;
    }
    void deleteActsOnDiskAndShowsWhatIsLeft() {
        QFETCH(bool, oneList);
        auto f = FrameAfterSearch(1, [](TempTree& t) {
            t.createFile("keep/a.txt", "copy a");
            t.createFile("old/sub/a.txt", "copy a");
            t.createFile("keep/b.txt", "copy b");
            t.createFile("old/b.txt", "copy b");
            t.createFile("undecided/c.txt", "copy c");
            t.createFile("keep/c.txt", "copy c");
        });
        QVERIFY(state_->resultRoot);
        if (oneList)
            f->Action(cmd::OneListView)->trigger();
        Mark("keep/a.txt", FileState::Preserved);
        Mark("old/sub/a.txt", FileState::Deleted);
        Mark("keep/b.txt", FileState::Preserved);
        Mark("old/b.txt", FileState::Deleted);
        Mark("undecided/c.txt", FileState::Deleted); // its copy stays Unsettled

        QStringList questions;
        std::string log;
        bool panesEmptyWhileRunning = false;
        Poller drive([&] {
            if (auto* ask = VisibleTopLevel<CDelAskDlg>()) {
                ask->Button(6)->click();
                return false;
            }
            if (auto* q = VisibleTopLevel<CDelEmptyDirDlg>()) {
                questions << q->question().mid(int(tree_->root().size()) + 1);
                panesEmptyWhileRunning =
                    f->panes()->treeModel()->rowCount() == 0 &&
                    f->panes()->listModel(ListKind::FileList)->rowCount() == 0 &&
                    f->panes()->listModel(ListKind::OneList)->rowCount() == 0;
                // Yes for old/sub, No for old.
                q->Button(questions.size() == 1 ? 1007 : 1008)->click();
                return false;
            }
            auto* process = VisibleTopLevel<CProcessDlg>();
            if (!process || !process->finished())
                return false;
            log = process->logText();
            process->closeButton()->click();
            return true;
        });
        f->RunCommand(cmd::DeleteMarked);
        QVERIFY(drive.done());
        QCOMPARE(questions, (QStringList{u"old/sub is empty. Do you want to remove it?"_s,
                                         u"old is empty. Do you want to remove it?"_s}));
        QVERIFY(panesEmptyWhileRunning);
        const std::string expectedLog = tree_->path("old/sub/a.txt") + "......Succeed\n" +
                                        tree_->path("old/b.txt") +
                                        "......Succeed\n\nDeleted files marked cross "
                                        "directly,\n2 files succeed, 0 files failed";
        QCOMPARE(log, expectedLog);
        // On disk: what was marked cross in finished groups is gone, old/sub
        // went after Yes, old stayed after No, everything kept is there.
        QVERIFY(!tree_->exists("old/sub/a.txt") && !tree_->exists("old/b.txt"));
        QVERIFY(!tree_->exists("old/sub"));
        QVERIFY(tree_->exists("old"));
        for (const char* kept : {"keep/a.txt", "keep/b.txt", "keep/c.txt", "undecided/c.txt"})
            QVERIFY2(tree_->exists(kept), kept);
        const std::string record = ReadAll(OperationRecordPath());
        QVERIFY(record.find("Deleting Files\n" + expectedLog + "\n") != std::string::npos);

        // What is left: the undecided group, shown and selected.
        std::vector<std::string> left = ResultFiles(*state_);
        std::sort(left.begin(), left.end());
        QCOMPARE(left, (std::vector{tree_->path("keep/c.txt"), tree_->path("undecided/c.txt")}));
        QCOMPARE(f->panes()->treeModel()->rowCount(), 1);
        QVERIFY(!SelectedName(*f).isEmpty());
        if (oneList) {
            QCOMPARE(f->panes()->listModel(ListKind::OneList)->rowCount(), 2);
            QCOMPARE(f->focusWidget(), static_cast<QWidget*>(f->oneList()));
            QCOMPARE(EnabledResultCommands(*f), (QStringList{u"32802"_s, u"137"_s, u"32937"_s}));
        } else {
            QCOMPARE(f->focusWidget(), static_cast<QWidget*>(f->fileList()));
            QCOMPARE(EnabledResultCommands(*f).size(), int(std::size(kResultCommands)));
        }

        // Once the last group has gone, nothing is left to show.
        Mark("keep/c.txt", FileState::Preserved);
        Mark("undecided/c.txt", FileState::Preserved);
        Poller again([&] {
            if (auto* ask = VisibleTopLevel<CDelAskDlg>()) {
                ask->Button(6)->click();
                return false;
            }
            auto* process = VisibleTopLevel<CProcessDlg>();
            if (!process || !process->finished())
                return false;
            process->closeButton()->click();
            return true;
        });
        f->RunCommand(cmd::DeleteMarked);
        QVERIFY(again.done());
        QVERIFY(state_->resultRoot == nullptr);
        QCOMPARE(f->panes()->treeModel()->rowCount(), 0);
        QCOMPARE(f->panes()->listModel(ListKind::OneList)->rowCount(), 0);
        QCOMPARE(EnabledResultCommands(*f), QStringList());
        QVERIFY(tree_->exists("keep/c.txt") && tree_->exists("undecided/c.txt"));
    }

    // Stopped before its first file: nothing on disk changed, and the
    // result, which no longer says what was processed, is discarded.
    void stopDiscardsTheResult() {
        auto f = FrameAfterSearch(1, [](TempTree& t) {
            t.createFile("a/x", "copy");
            t.createFile("b/x", "copy");
        });
        QVERIFY(state_->resultRoot);
        Mark("a/x", FileState::Preserved);
        Mark("b/x", FileState::Deleted);
        std::promise<void> go;
        std::shared_future<void> released = go.get_future().share();
        f->SetWorkerStarter([released](std::function<void()> body) {
            return std::thread([released, body = std::move(body)] {
                released.wait();
                body();
            });
        });
        Poller drive([&] {
            if (auto* ask = VisibleTopLevel<CDelAskDlg>()) {
                ask->Button(6)->click();
                return false;
            }
            auto* process = VisibleTopLevel<CProcessDlg>();
            if (!process)
                return false;
            if (!process->stopRequested()) {
                QTest::keyClick(process, Qt::Key_Escape);
                go.set_value();
                return false;
            }
            if (!process->finished())
                return false;
            process->closeButton()->click();
            return true;
        });
        f->RunCommand(cmd::DeleteMarked);
        QVERIFY(drive.done());
        QVERIFY(tree_->exists("a/x") && tree_->exists("b/x"));
        QVERIFY(state_->resultRoot == nullptr);
        QCOMPARE(f->panes()->treeModel()->rowCount(), 0);
        QCOMPARE(EnabledResultCommands(*f), QStringList());
        QVERIFY(ReadAll(OperationRecordPath()).find("Deleting Files, stopped\n") !=
                std::string::npos);
    }

    // A worker that cannot start leaves the review where it was.
    void failedWorkerStartKeepsTheResult() {
        auto f = FrameAfterSearch(1, [](TempTree& t) {
            t.createFile("a/x", "copy");
            t.createFile("b/x", "copy");
            t.createFile("a/y", "other copy");
            t.createFile("b/y", "other copy");
        });
        QVERIFY(state_->resultRoot);
        Mark("a/x", FileState::Preserved);
        Mark("b/x", FileState::Deleted);
        // The search for a group marked cross all over moves the selection.
        Mark("a/y", FileState::Deleted);
        Mark("b/y", FileState::Deleted);
        f->SetWorkerStarter([](std::function<void()>) -> std::thread {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        });
        const ResultDir* root = state_->resultRoot.get();
        const std::vector<std::string> before = ResultFiles(*state_);
        QString error, selectedBefore;
        Poller drive([&] {
            if (auto* ask = VisibleTopLevel<CDelAskDlg>()) {
                selectedBefore = SelectedName(*f);
                ask->Button(6)->click();
                return false;
            }
            auto* box = VisibleTopLevel<QMessageBox>();
            if (!box)
                return false;
            error = box->windowTitle() + u": "_s + box->text();
            box->accept();
            return true;
        });
        f->RunCommand(cmd::DeleteMarked);
        QVERIFY(drive.done());
        QCOMPARE(error, u"Error: _beginthreadex failed."_s);
        QVERIFY(f->isVisible());
        QCOMPARE(state_->resultRoot.get(), root);
        QCOMPARE(ResultFiles(*state_), before);
        QCOMPARE(SelectedName(*f), selectedBefore);
        QCOMPARE(EnabledResultCommands(*f).size(), int(std::size(kResultCommands)));
        QVERIFY(tree_->exists("b/y"));
    }

    // A Delete Option that names no method: both commands refuse with the
    // message and change nothing.
    void unknownDeleteOptionIsRefused_data() {
        QTest::addColumn<int>("command");
        QTest::newRow("Delete Files Marked Cross") << 137;
        QTest::newRow("Preview") << 32802;
    }
    void unknownDeleteOptionIsRefused() {
        QFETCH(int, command);
        auto f = FrameAfterSearch(-1, [](TempTree& t) {
            t.createFile("a/x", "copy");
            t.createFile("b/x", "copy");
        });
        QVERIFY(state_->resultRoot);
        Mark("a/x", FileState::Preserved);
        Mark("b/x", FileState::Deleted);
        QString seen;
        Poller answer([&] {
            if (VisibleTopLevel<CDelAskDlg>() || VisibleTopLevel<CPreviewDlg>()) {
                seen = u"a dialog opened"_s;
                return true;
            }
            auto* box = VisibleTopLevel<QMessageBox>();
            if (!box)
                return false;
            seen = box->windowTitle() + u": "_s + box->text();
            box->accept();
            return true;
        });
        f->RunCommand(command);
        QVERIFY(answer.done());
        QCOMPARE(seen, u"Error: "_s + QString::fromStdString(UnknownDeleteOptionMessage(-1)));
        QVERIFY(state_->resultRoot);
        QVERIFY(tree_->exists("b/x"));
    }

    // Ctrl+W shows the preview of the files marked cross; Escape closes it.
    void previewShowsTheFilesMarkedCross() {
        auto f = FrameAfterSearch(2, [](TempTree& t) {
            t.createFile("a/x", "copy");
            t.createFile("b/x", "copy");
        });
        QVERIFY(state_->resultRoot);
        settings_->deleteOption.MoveDirectory = std::string("/old");
        Mark("b/x", FileState::Deleted);
        QStringList seen;
        Poller look([&] {
            auto* preview = VisibleTopLevel<CPreviewDlg>();
            if (!preview || !preview->logShown())
                return false;
            seen << preview->windowTitle() << preview->logView()->toPlainText()
                 << u"%1 %2 %3"_s.arg(preview->saveButton()->isEnabled())
                        .arg(preview->closeButton()->isEnabled())
                        .arg(preview->closeButton()->isDefault());
            QTest::keyClick(preview, Qt::Key_Escape);
            return true;
        });
        QTest::keyClick(f->fileList(), Qt::Key_W, Qt::ControlModifier);
        QVERIFY(look.done());
        QCOMPARE(seen,
                 (QStringList{u"Preview"_s,
                              QString::fromStdString(tree_->path("b/x")) +
                                  u"\n\nTotal 1 files you had marked cross will be moved to /old"_s,
                              u"1 1 1"_s}));
        QVERIFY(!VisibleTopLevel<CPreviewDlg>());
        QVERIFY(tree_->exists("b/x"));
    }
};

PARADREX_QTEST_MAIN(DeleteCommandsTest)
#include "DeleteCommandsTest.moc"
