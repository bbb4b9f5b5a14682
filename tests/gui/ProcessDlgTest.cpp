// The operation log window with workers written for the test: stopping by
// every way out while the worker runs, what the end of the worker enables,
// Save..., the lasting record, the emptied-directory question asked from the
// worker's thread, a worker that cannot start, and a log of 100,000 lines.

#include "GuiTestSupport.h"
#include "fileops/LogFiles.h"
#include "gui/dialogs/CDelEmptyDirDlg.h"
#include "gui/dialogs/CProcessDlg.h"
#include "support/IsolatedHome.h"
#include "support/Privileges.h"
#include "support/TempTree.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QtTest>

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

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Answers the next visible message box; its caption, text and icon.
struct BoxSeen {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};
std::unique_ptr<Poller> AnswerNextBox(BoxSeen& seen) {
    return std::make_unique<Poller>([&seen] {
        auto* box = VisibleTopLevel<QMessageBox>();
        if (!box)
            return false;
        seen = {box->windowTitle(), box->text(), box->icon()};
        box->accept();
        return true;
    });
}

// Chooses `path` in the next save dialog.
std::unique_ptr<Poller> ChooseInSaveDialog(const QString& path, QStringList& seen) {
    return std::make_unique<Poller>([path, &seen] {
        auto* chooser = VisibleTopLevel<QFileDialog>();
        if (!chooser)
            return false;
        seen << chooser->nameFilters() << chooser->defaultSuffix()
             << (chooser->acceptMode() == QFileDialog::AcceptSave ? u"save"_s : u"open"_s)
             << (chooser->testOption(QFileDialog::DontConfirmOverwrite) ? u"replaces"_s
                                                                        : u"asks"_s);
        // Typed into its file name box, then its Save button.
        chooser->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(path);
        static_cast<QDialog*>(chooser)->accept();
        return true;
    });
}

} // namespace

class ProcessDlgTest : public QObject {
    Q_OBJECT

private:
    paradrex::test::TempWorkingDirectory cwd_;

    // A worker that logs a line every few milliseconds until it is asked
    // to stop, and answers that it stopped.
    static CProcessDlg::Worker LinesUntilStopped(std::atomic<int>& lines) {
        return [&lines](const OperationCallbacks& cb) {
            while (!cb.stop->load()) {
                cb.append("/data/file" + std::to_string(lines++) + "......Succeed\n");
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            return true;
        };
    }

private slots:
    void closingWhileRunningStops_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Stop") << u"stop"_s;
        QTest::newRow("Escape") << u"escape"_s;
        QTest::newRow("close box") << u"close box"_s;
        QTest::newRow("Alt+C") << u"alt+c"_s;
    }
    void closingWhileRunningStops() {
        QFETCH(QString, how);
        std::atomic<int> lines{0};
        CProcessDlg d(nullptr, u"Deleting Files"_s, LinesUntilStopped(lines));
        QCOMPARE(d.windowTitle(), u"Deleting Files"_s);
        QCOMPARE(d.stopButton()->text(), u"S&top"_s);
        QCOMPARE(d.saveButton()->text(), u"&Save..."_s);
        QCOMPARE(d.closeButton()->text(), u"&Close"_s);
        QVERIFY(d.closeButton()->isDefault());
        QVERIFY(d.isSizeGripEnabled());

        QStringList log;
        int step = 0;
        bool altCTried = false;
        Poller poll([&] {
            if (step == 0) {
                // Lines show while the worker runs.
                if (!d.isVisible() || d.logView()->blockCount() < 5)
                    return false;
                log << u"running: stop %1, save %2, close %3"_s.arg(d.stopButton()->isEnabled())
                           .arg(d.saveButton()->isEnabled())
                           .arg(d.closeButton()->isEnabled());
                if (how == u"stop")
                    d.stopButton()->click();
                else if (how == u"escape")
                    QTest::keyClick(&d, Qt::Key_Escape);
                else if (how == u"close box")
                    d.close();
                else
                    QTest::keyClick(&d, Qt::Key_C, Qt::AltModifier); // disabled: nothing
                step = 1;
                return false;
            }
            if (how == u"alt+c" && !altCTried) {
                altCTried = true;
                log << u"alt+c: stop requested %1"_s.arg(d.stopRequested());
                d.stopButton()->click();
                return false;
            }
            if (!d.finished())
                return false;
            log << u"finished: visible %1, stop %2, save %3, close %4, focus on close %5"_s
                       .arg(d.isVisible())
                       .arg(d.stopButton()->isEnabled())
                       .arg(d.saveButton()->isEnabled())
                       .arg(d.closeButton()->isEnabled())
                       .arg(d.closeButton()->hasFocus() || d.logView()->hasFocus());
            QTest::keyClick(&d, Qt::Key_Escape); // now it closes
            return true;
        });
        d.exec();
        QVERIFY(poll.done());
        QStringList expected{u"running: stop 1, save 0, close 0"_s};
        if (how == u"alt+c")
            expected << u"alt+c: stop requested 0"_s;
        expected << u"finished: visible 1, stop 0, save 1, close 1, focus on close 1"_s;
        QCOMPARE(log, expected);
        QVERIFY(d.stopRequested());
        QVERIFY(d.stopped());
        QVERIFY(!d.isVisible());
        // Every line the worker wrote reached the log, and the screen.
        QCOMPARE(int(std::count(d.logText().begin(), d.logText().end(), '\n')), lines.load());
        QTRY_VERIFY(d.logShown());
        QCOMPARE(d.logView()->blockCount(), lines.load() + 1);
    }

    // A worker that ends by itself: Save... and Close come with the end, the
    // log goes into the lasting record, Save... writes it with CR LF line
    // ends and the path bytes as they were, and a file that cannot be
    // written is reported.
    void endOfTheWorkerEnablesSaveAndCloseAndRecordsTheLog() {
        TempTree tree;
        const std::string oddName = "/data/caf\xe9 $(x).txt"; // not UTF-8
        std::promise<void> go;
        std::shared_future<void> released = go.get_future().share();
        CProcessDlg d(nullptr, u"Deleting Files"_s, [&](const OperationCallbacks& cb) {
            cb.append(oddName + "......Succeed\n");
            released.wait();
            cb.append("/data/b......Failed\n");
            cb.append("\nDeleted files marked cross directly,\n1 files succeed, 1 files failed");
            return false;
        });
        QStringList log;
        Poller poll([&] {
            if (!d.isVisible() || !d.logShown() || d.logText().empty())
                return false;
            log << u"first line: save %1, close %2"_s.arg(d.saveButton()->isEnabled())
                       .arg(d.closeButton()->isEnabled());
            go.set_value();
            return true;
        });
        Poller end([&] {
            if (!d.finished())
                return false;
            log << u"end: save %1, close %2"_s.arg(d.saveButton()->isEnabled())
                       .arg(d.closeButton()->isEnabled());
            // Saved once where it can be, once where it cannot.
            QStringList seen;
            auto choose = ChooseInSaveDialog(QString::fromStdString(tree.path("log")), seen);
            d.saveButton()->click();
            log << seen.join(u' ');
            BoxSeen box;
            auto answer = AnswerNextBox(box);
            tree.createDir("read-only");
            tree.chmod("read-only", 0555);
            seen.clear();
            auto chooseBad =
                ChooseInSaveDialog(QString::fromStdString(tree.path("read-only/log.txt")), seen);
            {
                paradrex::test::Unprivileged asUser;
                d.saveButton()->click();
            }
            log << box.caption << (box.icon == QMessageBox::Critical ? u"error icon"_s : u"?"_s);
            log << (box.text.contains(u"read-only/log.txt"_s) ? u"path told"_s : box.text);
            d.closeButton()->click();
            return true;
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QVERIFY(end.done());
        QCOMPARE(log, (QStringList{u"first line: save 0, close 0"_s, u"end: save 1, close 1"_s,
                                   u"Text Files (*.txt) txt save asks"_s, u"Error"_s,
                                   u"error icon"_s, u"path told"_s}));
        QVERIFY(!d.stopped());
        const std::string expected = oddName +
                                     "......Succeed\r\n/data/b......Failed\r\n\r\nDeleted files "
                                     "marked cross directly,\r\n1 files succeed, 1 files failed";
        QCOMPARE(ReadAll(tree.path("log.txt")), expected);
        QCOMPARE(d.logView()->toPlainText().count(u'\n'), 4);

        const std::string record = ReadAll(OperationRecordPath());
        QVERIFY2(record.find("] Deleting Files\n" + oddName + "......Succeed\n") !=
                     std::string::npos,
                 record.c_str());
        QVERIFY(record.ends_with("1 files succeed, 1 files failed\n"));
    }

    // The question is a widget of the user-interface thread, asked from the
    // worker's thread, which waits for the button; only the buttons answer.
    void emptyDirectoryQuestionComesFromTheWorkerThread() {
        std::vector<EmptyDirAnswer> answers;
        Qt::HANDLE workerThread = nullptr;
        CProcessDlg d(nullptr, u"Deleting Files"_s, [&](const OperationCallbacks& cb) {
            workerThread = QThread::currentThreadId();
            for (const char* dir : {"/data/a/b", "/data/a"}) {
                answers.push_back(cb.askEmptyDirectory(dir));
                cb.append(std::string(dir) + " asked\n");
            }
            return false;
        });
        QStringList seen;
        int asked = 0;
        Poller poll([&] {
            auto* q = VisibleTopLevel<CDelEmptyDirDlg>();
            if (d.finished()) {
                d.closeButton()->click();
                return true;
            }
            if (!q)
                return false;
            ++asked;
            seen << q->windowTitle() << q->question();
            if (asked == 1) {
                seen << q->Button(1007)->text() << q->Button(1008)->text()
                     << q->Button(1009)->text() << q->Button(1010)->text();
                seen << (q->Button(1007)->isDefault() ? u"yes default"_s : u"?"_s);
                seen << (q->windowFlags() & Qt::WindowCloseButtonHint ? u"close box"_s
                                                                      : u"no close box"_s);
                seen << (q->parentWidget() == &d ? u"over the log"_s : u"?"_s);
                // The lines before the question are on the screen.
                seen << d.logView()->toPlainText();
                QTest::keyClick(q, Qt::Key_Escape);
                q->close();
                if (!q->isVisible())
                    seen << u"closed without a button"_s;
                q->Button(1009)->click();
            } else {
                q->Button(1008)->click();
            }
            return false;
        });
        d.exec();
        QVERIFY(poll.done());
        QCOMPARE(seen,
                 (QStringList{u"Confirm"_s, u"/data/a/b is empty. Do you want to remove it?"_s,
                              u"&Yes"_s, u"&No"_s, u"Yes to All"_s, u"No to All"_s,
                              u"yes default"_s, u"no close box"_s, u"over the log"_s, QString(),
                              u"Confirm"_s, u"/data/a is empty. Do you want to remove it?"_s}));
        QCOMPARE(answers, (std::vector{EmptyDirAnswer::YesToAll, EmptyDirAnswer::No}));
        QVERIFY(workerThread != QThread::currentThreadId());
        QCOMPARE(d.logText(), std::string("/data/a/b asked\n/data/a asked\n"));
    }

    void workerThatCannotStartShowsAnErrorAndRunsNothing() {
        bool ran = false;
        CProcessDlg d(
            nullptr, u"Deleting Files"_s,
            [&](const OperationCallbacks&) {
                ran = true;
                return false;
            },
            [](std::function<void()>) -> std::thread {
                throw std::system_error(
                    std::make_error_code(std::errc::resource_unavailable_try_again));
            });
        BoxSeen box;
        auto answer = AnswerNextBox(box);
        QCOMPARE(d.exec(), 0);
        QVERIFY(answer->done());
        QCOMPARE(box.caption, u"Error"_s);
        QCOMPARE(box.text, u"_beginthreadex failed."_s);
        QCOMPARE(box.icon, QMessageBox::Critical);
        QVERIFY(!d.started());
        QVERIFY(!ran);
    }

    // 100,000 lines written as fast as the worker can: every one reaches the
    // log, in pieces of bounded size, and the event loop keeps turning (a
    // 10 ms timer measures the longest gap between its ticks).
    void hundredThousandLinesKeepTheWindowResponsive() {
        constexpr int kLines = 100000;
        CProcessDlg d(nullptr, u"Deleting Files"_s, [](const OperationCallbacks& cb) {
            for (int i = 0; i < kLines; ++i)
                cb.append("/home/user/photos/2024/holiday/directory" + std::to_string(i % 10000) +
                          "/picture" + std::to_string(i) + ".jpg......Succeed\n");
            cb.append("\nDeleted files marked cross directly,\n100000 files succeed, 0 files "
                      "failed");
            return false;
        });
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(10);
        connect(&ticker, &QTimer::timeout, [&] {
            if (sinceTick.isValid())
                longestGap = std::max(longestGap, sinceTick.elapsed());
            sinceTick.start();
        });
        ticker.start();
        QElapsedTimer total;
        total.start();
        Poller poll([&] {
            if (!d.finished() || !d.logShown())
                return false;
            d.closeButton()->click();
            return true;
        });
        d.exec();
        qInfo("100,000 lines shown in %lld ms; longest stall of the event loop %lld ms",
              total.elapsed(), longestGap);
        QCOMPARE(d.logView()->blockCount(), kLines + 3);
        QVERIFY(d.largestPiece() <= 32 * 1024);
        // Generous against a loaded machine; bench_process_log measures it.
        QVERIFY2(longestGap < 400, qPrintable(QString::number(longestGap)));
    }
};

PARADREX_QTEST_MAIN(ProcessDlgTest)
#include "ProcessDlgTest.moc"
