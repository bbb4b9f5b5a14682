// Saving a result and reopening it in the main window: the file chooser and
// the Jobs menu reach the result file, an opened result shows as after a
// search, refusals and dropped files are told, and closing keeps the review
// in last.pdxr only when it changed. The format and the disk check are tested
// in fileops/.

#include "GuiTestSupport.h"
#include "engine/ResultGroups.h"
#include "engine/SearchState.h"
#include "fileops/ResultFile.h"
#include "gui/dialogs/CRunDialog.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/mainwnd/CResultFileCommands.h"
#include "gui/panes/CResultPanes.h"
#include "review/GroupSetSwitch.h"
#include "settings/ErrorLog.h"
#include "settings/SettingFile.h"
#include "support/IsolatedHome.h"
#include "support/ScopedEnvironment.h"
#include "support/TempTree.h"
#include "uimodel/CommandIds.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <QtTest>

#include <memory>
#include <string>

using namespace paradrex;
using namespace Qt::Literals::StringLiterals;
using paradrex::test::Poller;
using paradrex::test::TempTree;
using paradrex::test::VisibleTopLevel;

namespace {

// The caption and text of the next message box, which it then closes.
struct Box {
    QString title, text;
};
std::unique_ptr<Poller> CloseNextBox(Box& box) {
    return std::make_unique<Poller>([&box] {
        auto* m = VisibleTopLevel<QMessageBox>();
        if (!m)
            return false;
        box = {m->windowTitle(), m->text()};
        m->accept();
        return true;
    });
}

// Presses Done in the progress dialog once its work is done.
std::unique_ptr<Poller> PressDoneWhenFinished() {
    return std::make_unique<Poller>([] {
        auto* run = VisibleTopLevel<CRunDialog>();
        auto* button = run ? run->findChild<QPushButton*>(u"id1028"_s) : nullptr;
        if (!button || !button->isEnabled())
            return false;
        button->click();
        return true;
    });
}

// Every row of a view as the text of its columns.
QStringList Rows(const QTreeView* view) {
    QStringList rows;
    const QAbstractItemModel* m = view->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m->columnCount(); ++c)
            cells << m->index(r, c).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

QString ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class ResultFileCommandsTest : public QObject {
    Q_OBJECT

private:
    paradrex::test::TempWorkingDirectory cwd_;
    QTemporaryDir settingsDir_;
    QTemporaryDir stateHome_;
    paradrex::test::ScopedEnvironment env_;
    std::unique_ptr<_Setting_file> settings_;
    std::unique_ptr<SearchState> state_;
    std::string root_;

    std::unique_ptr<CMainFrame> MakeFrame() {
        GroupSetSwitch::Instance().Set(true);
        settings_.reset();
        settings_ = std::make_unique<_Setting_file>(
            settingsDir_.path().toStdString(),
            _Setting_file::Options{_Setting_file::Access::ReadWrite, false});
        state_ = std::make_unique<SearchState>();
        auto f = std::make_unique<CMainFrame>(*settings_, *state_, [this](QWidget*) {
            if (root_.empty())
                return false;
            state_->job = SearchJob{};
            state_->job.roots.Add(root_);
            return true;
        });
        f->ShowAtStart();
        QApplication::setActiveWindow(f.get());
        [&] { QVERIFY(QTest::qWaitForWindowActive(f.get())); }();
        return f;
    }

    // Runs New Search on `root` through the frame, pressing Done.
    void Search(CMainFrame& f, const std::string& root) {
        root_ = root;
        auto done = PressDoneWhenFinished();
        f.Action(cmd::NewSearch)->trigger();
        root_.clear();
        QVERIFY(done->done());
        QVERIFY(state_->resultRoot);
        // The keys of the review go to the focused pane of the active window.
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(QApplication::focusWidget(), f.fileList());
    }

    // Types `path` into the next file chooser and presses its button; `seen`
    // gets its caption and filters.
    static std::unique_ptr<Poller> ChooseInNextChooser(const QString& path, QStringList& seen) {
        return std::make_unique<Poller>([path, &seen] {
            auto* chooser = VisibleTopLevel<QFileDialog>();
            if (!chooser)
                return false;
            seen = QStringList{chooser->windowTitle()} + chooser->nameFilters();
            auto* name = chooser->findChild<QLineEdit*>(u"fileNameEdit"_s);
            name->clear();
            QTest::keyClicks(name, path);
            QTest::keyClick(name, Qt::Key_Return);
            return true;
        });
    }

    static CResultFileCommands* Commands(CMainFrame& f) {
        return f.findChild<CResultFileCommands*>();
    }

    int ResultGroupCount() const { return static_cast<int>(ResultGroups(*state_).size()); }

private slots:
    void init() {
        env_.Set("XDG_STATE_HOME", stateHome_.path().toStdString());
        QCOMPARE(LastResultPath(), stateHome_.path().toStdString() + "/Paradrex/last.pdxr");
        QFile::remove(QString::fromStdString(LastResultPath()));
    }

    void saveAndOpenThroughTheChooserShowTheSameRows() {
        auto f = MakeFrame();
        QVERIFY(!f->Action(cmd::SaveResult)->isEnabled());
        QVERIFY(!f->Action(cmd::ReverifyResult)->isEnabled());
        QVERIFY(f->Action(cmd::OpenResult)->isEnabled());
        QVERIFY(!f->Action(cmd::OpenLastResult)->isEnabled());
        TempTree tree;
        tree.createFile("x/a", "same content");
        tree.createFile("y/a", "same content");
        tree.createFile("x/b", "other content");
        tree.createFile("z/b2", "other content");
        Search(*f, tree.root());
        QVERIFY(f->Action(cmd::SaveResult)->isEnabled());
        f->Action(cmd::FocusDelete)->trigger(); // the selected file of the file list
        const QStringList files = Rows(f->fileList());
        const QStringList clones = Rows(f->cloneList());
        const uint64_t review = ReviewFingerprint(*state_);

        const QString typed = QString::fromStdString(tree.path("review")); // no suffix
        const QString saved = typed + u".pdxr"_s;
        QStringList seen;
        {
            auto chooser = ChooseInNextChooser(typed, seen);
            f->Action(cmd::SaveResult)->trigger();
            QVERIFY(chooser->done());
        }
        QCOMPARE(seen, (QStringList{u"Save Result"_s, u"Paradrex results (*.pdxr)"_s}));
        QVERIFY(QFile::exists(saved));
        QVERIFY2(f->statusBar()->currentMessage().contains(saved),
                 qPrintable(f->statusBar()->currentMessage()));

        // Another review in between.
        for (const DuplicateGroup& g : ResultGroups(*state_))
            for (FileRecord* file : g)
                file->state = FileState::Preserved;
        QVERIFY(ReviewFingerprint(*state_) != review);
        {
            auto chooser = ChooseInNextChooser(saved, seen);
            f->Action(cmd::OpenResult)->trigger();
            QVERIFY(chooser->done());
        }
        QCOMPARE(seen, (QStringList{u"Open Result"_s, u"Paradrex results (*.pdxr)"_s}));
        QCOMPARE(ReviewFingerprint(*state_), review);
        QCOMPARE(Rows(f->fileList()), files);
        QCOMPARE(Rows(f->cloneList()), clones);
        QVERIFY(f->fileList()->currentIndex().isValid());
        QCOMPARE(f->focusWidget(), static_cast<QWidget*>(f->fileList()));
        QVERIFY(f->Action(cmd::NextGroup)->isEnabled());

        // The same name typed again: the file with the suffix is not replaced
        // unasked.
        for (FileRecord* file : *ResultGroups(*state_).begin())
            file->state = FileState::Deleted;
        const QString before = ReadAll(saved);
        QString asked;
        Poller no([&asked] {
            auto* m = VisibleTopLevel<QMessageBox>();
            if (!m)
                return false;
            asked = m->windowTitle() + u'|' + m->text();
            m->button(QMessageBox::No)->click();
            return true;
        });
        QVERIFY(!Commands(*f)->Save(typed.toStdString()));
        QCOMPARE(asked, u"Confirm|"_s + saved + u" already exists.\nDo you want to replace it?"_s);
        QCOMPARE(ReadAll(saved), before);
    }

    void aRefusedFileShowsTheErrorAndKeepsTheResult() {
        auto f = MakeFrame();
        TempTree tree;
        tree.createFile("x/a", "same content");
        tree.createFile("y/a", "same content");
        Search(*f, tree.root());
        const QStringList files = Rows(f->fileList());
        const std::string damaged = tree.createFile("damaged.pdxr", "{\"format\": \"parad");
        for (const std::string& path : {damaged, tree.path("missing.pdxr")}) {
            Box box;
            auto closer = CloseNextBox(box);
            Commands(*f)->Open(path);
            QVERIFY(closer->done());
            QCOMPARE(box.title, u"Error"_s);
            QVERIFY2(box.text.contains(QString::fromStdString(path)), qPrintable(box.text));
            QVERIFY(state_->resultRoot);
            QCOMPARE(Rows(f->fileList()), files);
            QVERIFY(f->Action(cmd::SaveResult)->isEnabled());
        }
        // Saving where nothing may be written: the core's text, and no file.
        Box box;
        auto closer = CloseNextBox(box);
        QVERIFY(!Commands(*f)->Save(tree.path("no/such/folder/r.pdxr")));
        QVERIFY(closer->done());
        QCOMPARE(box.title, u"Error"_s);
        QVERIFY2(box.text.startsWith(u"The result could not be saved to "_s), qPrintable(box.text));
    }

    void aChangedFileIsDroppedWithOneMessageAndLogged() {
        auto f = MakeFrame();
        QTemporaryDir logDir;
        _Error_log log(logDir.path().toStdString());
        TempTree tree;
        tree.createFile("x/a", "same content");
        tree.createFile("y/a", "same content");
        tree.createFile("x/b", "other content");
        tree.createFile("z/b", "other content");
        Search(*f, tree.root());
        const std::string saved = tree.path("r.pdxr");
        QVERIFY(Commands(*f)->Save(saved));
        tree.createFile("y/a", "changed since it was saved");

        Box box;
        auto closer = CloseNextBox(box);
        Commands(*f)->Open(saved);
        QVERIFY(closer->done());
        QCOMPARE(box.title, u"Message"_s);
        QVERIFY(!box.text.isEmpty());
        QCOMPARE(ResultGroupCount(), 1);
        QVERIFY2(ReadAll(logDir.path() + u"/error.log"_s)
                     .contains(QString::fromStdString(tree.path("y/a"))),
                 qPrintable(ReadAll(logDir.path() + u"/error.log"_s)));
        QVERIFY(f->Action(cmd::NextGroup)->isEnabled());
    }

    void reverifyRunsInTheProgressDialogAndDropsWhatDiffers() {
        auto f = MakeFrame();
        TempTree tree;
        tree.createFile("x/a", "same content", 1700000000);
        tree.createFile("y/a", "same content", 1700000000);
        tree.createFile("x/b", "other content");
        tree.createFile("z/b", "other content");
        Search(*f, tree.root());
        QVERIFY(f->Action(cmd::ReverifyResult)->isEnabled());
        // Same size and time: only the contents tell.
        tree.createFile("y/a", "SAME CONTENT", 1700000000);

        auto done = PressDoneWhenFinished();
        Box box;
        auto closer = CloseNextBox(box);
        f->Action(cmd::ReverifyResult)->trigger();
        QVERIFY(done->done());
        QVERIFY(closer->done());
        QCOMPARE(box.title, u"Message"_s);
        QCOMPARE(ResultGroupCount(), 1);
        QVERIFY(!Rows(f->fileList()).isEmpty());
    }

    // Opening another result or starting a new search keeps unsaved
    // decisions in last.pdxr first; opening last.pdxr itself does not
    // write over it.
    void aReplacedReviewIsKeptFirst() {
        TempTree tree;
        tree.createFile("x/a", "same content");
        tree.createFile("y/a", "same content");
        tree.createFile("x/b", "other content");
        tree.createFile("y/b", "other content");
        const QString last = QString::fromStdString(LastResultPath());
        auto f = MakeFrame();
        Search(*f, tree.root());
        QVERIFY(Commands(*f)->Save(tree.path("saved.pdxr")));
        f->Action(cmd::FocusDelete)->trigger();
        const uint64_t decided = ReviewFingerprint(*state_);
        Commands(*f)->Open(tree.path("saved.pdxr"));
        QVERIFY(QFile::exists(last));
        QVERIFY(f->Action(cmd::OpenLastResult)->isEnabled());
        QVERIFY(ReviewFingerprint(*state_) != decided);

        // Decisions made on the reopened result, then last.pdxr opened: the
        // file keeps what it held and opens as it was kept.
        f->Action(cmd::FocusPreserve)->trigger();
        f->Action(cmd::OpenLastResult)->trigger();
        QCOMPARE(ReviewFingerprint(*state_), decided);

        // A new search replaces a changed review: kept first.
        f->Action(cmd::FocusPreserve)->trigger();
        const uint64_t beforeSearch = ReviewFingerprint(*state_);
        QVERIFY(beforeSearch != decided);
        Search(*f, tree.root());
        QVERIFY(f->close());
        f.reset();
        auto again = MakeFrame();
        again->Action(cmd::OpenLastResult)->trigger();
        QCOMPARE(ReviewFingerprint(*state_), beforeSearch);
    }

    void closingKeepsTheLastResultOnlyWhenTheReviewChanged() {
        TempTree tree;
        tree.createFile("x/a", "same content");
        tree.createFile("y/a", "same content");
        const QString last = QString::fromStdString(LastResultPath());
        {
            auto f = MakeFrame();
            f->close(); // nothing searched
        }
        {
            auto f = MakeFrame();
            Search(*f, tree.root());
            f->close(); // searched, nothing decided
        }
        {
            auto f = MakeFrame();
            Search(*f, tree.root());
            f->Action(cmd::FocusDelete)->trigger();
            QVERIFY(Commands(*f)->Save(tree.path("r.pdxr")));
            f->close(); // decided, then saved: nothing left to keep
        }
        QVERIFY(!QFile::exists(last));
        uint64_t review = 0;
        {
            auto f = MakeFrame();
            QVERIFY(!f->Action(cmd::OpenLastResult)->isEnabled());
            Search(*f, tree.root());
            f->Action(cmd::FocusDelete)->trigger();
            review = ReviewFingerprint(*state_);
            f->close();
            QVERIFY(QFile::exists(last));
        }
        {
            auto f = MakeFrame();
            QVERIFY(f->Action(cmd::OpenLastResult)->isEnabled());
            f->Action(cmd::OpenLastResult)->trigger();
            QCOMPARE(ReviewFingerprint(*state_), review);
            QVERIFY(!Rows(f->fileList()).isEmpty());
            // A failure to keep never stops the window from closing; it is
            // logged.
            QTemporaryDir logDir;
            _Error_log log(logDir.path().toStdString());
            f->Action(cmd::FocusSetAllUnsettled)->trigger();
            QVERIFY(ReviewFingerprint(*state_) != review);
            QFile::remove(last);
            QVERIFY(QDir().mkpath(last)); // a folder in its place
            QVERIFY(f->close());
            QVERIFY(QFileInfo(last).isDir());
            const QString logged = ReadAll(logDir.path() + u"/error.log"_s);
            QVERIFY2(logged.contains(u"The result could not be saved to "_s + last),
                     qPrintable(logged));
        }
    }
};

PARADREX_QTEST_MAIN(ResultFileCommandsTest)
#include "ResultFileCommandsTest.moc"
