// The progress dialog driving real searches on temporary trees.

#include "GuiTestSupport.h"
#include "gui/dialogs/CRunDialog.h"
#include "support/IsolatedHome.h"
#include "support/TempTree.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <future>
#include <system_error>

using namespace paradrex;
using namespace Qt::Literals::StringLiterals;
using paradrex::test::Poller;
using paradrex::test::TempTree;
using paradrex::test::VisibleTopLevel;

// A search of two equal files whose worker is held in its pre-marking step
// (where it asks for the default directories) until Release().
struct HeldSearch {
    HeldSearch() {
        tree.createFile("a", "same bytes");
        tree.createFile("b", "same bytes");
        state.job.roots.Add(tree.root());
        env.defaultDirectories = [this] {
            held = true;
            released.wait();
            return DefaultDirectories{};
        };
    }
    void Release() { release.set_value(); }

    TempTree tree;
    SearchState state;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> held{false};
    SearchEnvironment env;
};

class RunDialogTest : public QObject {
    Q_OBJECT

private:
    static QString TextOf(CRunDialog& d, int id) {
        QWidget* w = d.findChild<QWidget*>(QStringLiteral("id%1").arg(id));
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* b = qobject_cast<QPushButton*>(w))
            return b->text();
        if (auto* e = qobject_cast<QPlainTextEdit*>(w))
            return e->toPlainText();
        return QStringLiteral("<missing %1>").arg(id);
    }
    static QPushButton* Button(CRunDialog& d, int id) {
        return d.findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
    }

    paradrex::test::TempWorkingDirectory cwd_;

private slots:
    void initialLayoutAndTexts() {
        SearchState state;
        CRunDialog d(nullptr, state, {});
        QCOMPARE(d.windowTitle(), QStringLiteral("Process..."));
        // A title bar without buttons: on X11 Qt asks for the move and resize
        // functions only (_MOTIF_WM_HINTS), which scripts/smoke-gui checks
        // under a window manager.
        const Qt::WindowFlags buttons = Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowMinMaxButtonsHint |
                                        Qt::WindowContextHelpButtonHint;
        QCOMPARE(d.windowFlags() & buttons, Qt::WindowFlags());
        QVERIFY(d.windowFlags().testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint));
        QVERIFY(!(d.windowFlags() & Qt::FramelessWindowHint));
        QCOMPARE(TextOf(d, run::PauseButton), QStringLiteral("&Pause"));
        QCOMPARE(TextOf(d, run::StopButton), QStringLiteral("&Stop"));
        QCOMPARE(TextOf(d, run::DoneButton), QStringLiteral("&Done"));
        QVERIFY(Button(d, run::PauseButton)->isDefault());
        QVERIFY(!Button(d, run::DoneButton)->isEnabled());
        for (int id : {1018, 1019, 1020, 1021, 1030, 1022, 1024, 1025, 1026, 1027})
            QCOMPARE(TextOf(d, id), QStringLiteral("0"));
        for (int id : {1045, 1043, 1048})
            QCOMPARE(TextOf(d, id), QStringLiteral("(0 MB)"));
        QCOMPARE(TextOf(d, run::Status), QString());
        // Labels in reading order: each value lies right of its label and the
        // buttons lie below the status field.
        auto* files = d.findChild<QWidget*>(QStringLiteral("id1019"));
        auto* dirs = d.findChild<QWidget*>(QStringLiteral("id1018"));
        QVERIFY(files->y() > dirs->y());
        QVERIFY(Button(d, run::StopButton)->x() > Button(d, run::PauseButton)->x());
        QVERIFY(Button(d, run::PauseButton)->y() >
                d.findChild<QWidget*>(QStringLiteral("id1029"))->geometry().bottom());
    }

    void realSearchReachesDoneWithItsFinalValues() {
        TempTree tree;
        tree.createFile("a/photo.jpg", std::string(3000, 'x'));
        tree.createFile("b/photo copy.jpg", std::string(3000, 'x'));
        tree.createFile("b/other", std::string(700, 'y'));
        SearchState state;
        state.job.roots.Add(tree.root());
        CRunDialog d(nullptr, state, {});

        QStringList seen;
        bool focusOnDone = false;
        Poller poll([&] {
            QPushButton* done = Button(d, run::DoneButton);
            if (!d.isVisible() || !done->isEnabled())
                return false;
            seen = {TextOf(d, 1018), TextOf(d, 1019), TextOf(d, 1020), TextOf(d, 1045),
                    TextOf(d, 1021), TextOf(d, 1030), TextOf(d, 1043), TextOf(d, 1029)};
            focusOnDone = done->hasFocus() && done->isDefault();
            if (Button(d, run::PauseButton)->isEnabled() || Button(d, run::StopButton)->isEnabled())
                seen << QStringLiteral("Pause or Stop still enabled");
            // Times with three decimals.
            const QRegularExpression seconds(QStringLiteral("^[0-9,]+\\.[0-9]{3}$"));
            for (int id : {1022, 1024, 1025})
                if (!seconds.match(TextOf(d, id)).hasMatch())
                    seen << QStringLiteral("bad time %1: %2").arg(id).arg(TextOf(d, id));
            done->click();
            return true;
        });
        QCOMPARE(d.exec(), run::kResultDone);
        QVERIFY(poll.done());
        QCOMPARE(seen, (QStringList{u"3"_s, u"3"_s, u"6,700"_s, u"(6.54 KB)"_s, u"2"_s, u"6,000"_s,
                                    u"(5.86 KB)"_s, u"Done!"_s}));
        QVERIFY(focusOnDone);
        QVERIFY(state.done);
        QVERIFY(state.resultRoot != nullptr);
        QCOMPARE(d.stage(), 4);
    }

    void fewSmallFilesKeepZeroMegabytes() {
        TempTree tree;
        tree.createFile("a", "same");
        tree.createFile("b", "same");
        SearchState state;
        state.job.roots.Add(tree.root());
        CRunDialog d(nullptr, state, {});
        Poller poll([&] {
            if (!Button(d, run::DoneButton)->isEnabled())
                return false;
            d.done(run::kResultDone);
            return true;
        });
        QCOMPARE(d.exec(), run::kResultDone);
        QCOMPARE(TextOf(d, 1020), QStringLiteral("8"));
        QCOMPARE(TextOf(d, 1045), QStringLiteral("(0 MB)"));
        QCOMPARE(TextOf(d, 1043), QStringLiteral("(0 MB)"));
    }

    // The worker is held in its pre-marking step, paused there, and stopped:
    // Escape and closing do nothing, the dialog ends with 209 once the worker
    // has cleaned up, and the state is empty.
    void pauseThenStopClosesWith209AndAnEmptyResult() {
        HeldSearch search;
        SearchState& state = search.state;
        CRunDialog d(nullptr, state, search.env);

        int step = 0;
        QElapsedTimer clock;
        QStringList log;
        Poller poll([&] {
            switch (step) {
            case 0: // the worker waits in pre-marking
                if (!d.isVisible() || !search.held)
                    return false;
                QTest::keyClick(&d, Qt::Key_Escape);
                d.close();
                QTest::keyClick(&d, Qt::Key_P); // the access key of "&Pause"
                log << TextOf(d, run::PauseButton) << TextOf(d, run::Status);
                search.Release();
                clock.start();
                step = 1;
                return false;
            case 1: // paused: the worker waits at its next checkpoint
                if (clock.elapsed() < 700)
                    return false;
                log << (d.isVisible() ? u"visible"_s : u"closed"_s)
                    << (state.done ? u"done"_s : u"held"_s);
                Button(d, run::StopButton)->click();
                log << TextOf(d, run::Status);
                log << (Button(d, run::PauseButton)->isEnabled() ? u"pause on"_s : u"pause off"_s);
                clock.start();
                step = 2;
                return true;
            }
            return true;
        });
        const int result = d.exec();
        QCOMPARE(result, run::kResultStopped);
        QVERIFY2(clock.elapsed() < 1500, "closes within a timer period of the worker's end");
        QCOMPARE(log, (QStringList{u"&Continue"_s, u"Paused"_s, u"visible"_s, u"held"_s,
                                   u"Stopping..."_s, u"pause off"_s}));
        QVERIFY(state.stopRequested);
        QVERIFY(!state.done);
        QVERIFY(state.resultRoot == nullptr);
        QVERIFY(state.cloneSets.empty());
        QCOMPARE(state.counters.fileCount.load(), 0u);
    }

    void continueResumesTheSearch() {
        HeldSearch search;
        SearchState& state = search.state;
        CRunDialog d(nullptr, state, search.env);
        int step = 0;
        QStringList log;
        Poller poll([&] {
            if (step == 0) {
                if (!search.held)
                    return false;
                Button(d, run::PauseButton)->click();
                search.Release();
                Button(d, run::PauseButton)->click();
                log << TextOf(d, run::PauseButton) << TextOf(d, run::Status);
                step = 1;
                return false;
            }
            if (!Button(d, run::DoneButton)->isEnabled())
                return false;
            QTest::keyClick(&d, Qt::Key_Return); // Done has the focus now
            return true;
        });
        QCOMPARE(d.exec(), run::kResultDone);
        QCOMPARE(log, (QStringList{u"&Pause"_s, u"Processing..."_s}));
        QVERIFY(state.resultRoot != nullptr);
    }

    void failedWorkerStartShowsAnErrorAndCountsAsStopped() {
        SearchState state;
        state.job.roots.Add("/nonexistent-root");
        CRunDialog d(nullptr, state, {}, [](std::function<void()>) -> std::thread {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        });
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        Poller poll([&] {
            auto* box = VisibleTopLevel<QMessageBox>();
            if (!box)
                return false;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->accept();
            return true;
        });
        QCOMPARE(d.exec(), 0);
        QCOMPARE(title, QStringLiteral("Error"));
        QCOMPARE(text, QStringLiteral("_beginthreadex failed."));
        QCOMPARE(icon, QMessageBox::Critical);
        QVERIFY(state.stopRequested);
    }
};

PARADREX_QTEST_MAIN(RunDialogTest)
#include "RunDialogTest.moc"
