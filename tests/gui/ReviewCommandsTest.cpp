// The review commands in the main window: the real keys with the focus in
// each pane reach the marking, navigation and statistics commands, and what
// they answer shows in the panes. The rules themselves are tested in review/.

#include "GuiTestSupport.h"
#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "gui/dialogs/CDirStatisticsDlg.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CFolderTreeModel.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "review/GroupSetSwitch.h"
#include "review/ResultTreeOrder.h"
#include "settings/SettingFile.h"
#include "support/IsolatedHome.h"
#include "uimodel/CommandIds.h"
#include "uimodel/StatisticsTexts.h"

#include <QAction>
#include <QCursor>
#include <QDesktopServices>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>
#include <QtTest>

#include <map>
#include <memory>
#include <string>

using namespace paradrex;
using namespace Qt::Literals::StringLiterals;
using namespace std::string_literals;
using paradrex::test::Poller;
using paradrex::test::VisibleTopLevel;

// Records the addresses handed to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    explicit UrlRecorder(QList<QUrl>& urls) : urls_(urls) {}
public slots:
    void open(const QUrl& url) { urls_ << url; }

private:
    QList<QUrl>& urls_;
};

class ReviewCommandsTest : public QObject {
    Q_OBJECT

private:
    paradrex::test::TempWorkingDirectory cwd_;
    QTemporaryDir settingsDir_;
    std::unique_ptr<_Setting_file> settings_;
    std::unique_ptr<SearchState> state_;
    std::unique_ptr<CMainFrame> f_;
    std::vector<FileRecord*> files_; // in the order States() lists them

    FileRecord* File(const NameRecord* dir, const char* name, uint32_t size) {
        FileRecord* file = FileRecord::Create(state_->recordPool, dir, name, size, 1700000000);
        files_.push_back(file);
        return file;
    }

    // /t/a: p1 and p2 with copies in /t/b (one clone set), q with a copy in
    // /t/c (another), and a run r1..r4 whose fifth copy lies in /t/c.
    void BuildResult() {
        state_ = std::make_unique<SearchState>();
        files_.clear();
        SearchState& s = *state_;
        const NameRecord* t = NameRecord::Create(s.namePool, nullptr, "/t");
        const NameRecord* a = NameRecord::Create(s.namePool, t, "a");
        const NameRecord* b = NameRecord::Create(s.namePool, t, "b");
        const NameRecord* c = NameRecord::Create(s.namePool, t, "c");
        FileRecord* ap1 = File(a, "p1", 1000);
        FileRecord* ap2 = File(a, "p2", 2000);
        FileRecord* bp1 = File(b, "p1", 1000);
        FileRecord* bp2 = File(b, "p2", 2000);
        FileRecord* aq = File(a, "q", 300);
        FileRecord* cq = File(c, "Q", 300);
        StoreGroup(s, {ap1, bp1});
        StoreGroup(s, {ap2, bp2});
        StoreGroup(s, {aq, cq});
        DuplicateGroup run;
        for (const char* name : {"r1", "r2", "r3", "r4"})
            run.push_back(File(a, name, 10));
        run.push_back(File(c, "r5", 10));
        StoreGroup(s, run);
        BuildResultTree(s);
    }

    // The states of the files in the order they were made: P, D or U each.
    QString States() const {
        QString out;
        for (const FileRecord* file : files_)
            out += file->state == FileState::Preserved ? u'P'
                   : file->state == FileState::Deleted ? u'D'
                                                       : u'U';
        return out;
    }
    void SetStates(FileState value) {
        for (FileRecord* file : files_)
            file->state = value;
    }
    ResultDir* Dir(const char* path) const { return FindResultDir(state_->resultRoot.get(), path); }
    CResultPanes* panes() const { return f_->panes(); }
    CResultListModel* model(ListKind which) const { return panes()->listModel(which); }
    // The file-list row of a file of the selected directory.
    int RowOf(const FileRecord* file) const {
        return static_cast<int>(*FileListRowOf(panes()->browser().fileRows(), file));
    }
    int CurrentRow(QTreeView* view) const { return view->currentIndex().row(); }
    // Shows the one list and selects the row of a file there.
    void SelectInOneList(const FileRecord* file) {
        f_->Action(cmd::OneListView)->trigger();
        CResultListModel* one = model(ListKind::OneList);
        int row = 0;
        while (one->FileAt(row) != file)
            ++row;
        f_->oneList()->setCurrentIndex(one->index(row, 1));
    }

    // A shown frame with the result, as after a search: the first directory
    // with duplicates and its first row selected, the file list focused.
    void ShowFrame() {
        GroupSetSwitch::Instance().Set(true);
        f_.reset();
        settings_ = std::make_unique<_Setting_file>(
            settingsDir_.path().toStdString(),
            _Setting_file::Options{_Setting_file::Access::ReadWrite, false});
        BuildResult();
        f_ = std::make_unique<CMainFrame>(*settings_, *state_, [](QWidget*) { return false; });
        f_->ShowAtStart();
        QApplication::setActiveWindow(f_.get());
        QVERIFY(QTest::qWaitForWindowActive(f_.get()));
        f_->ShowResult();
        QTRY_VERIFY(f_->fileList()->hasFocus());
    }
    void Press(QWidget* pane, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        if (!pane->hasFocus()) {
            pane->setFocus();
            QTRY_VERIFY(pane->hasFocus());
        }
        QTest::keyClick(pane, key, mods);
    }

    // Selects a row of the file list and one of the clone list, as the
    // user would by clicking them.
    void SelectRows(const FileRecord* fileRow, int cloneRow) {
        f_->fileList()->setCurrentIndex(model(ListKind::FileList)->index(RowOf(fileRow), 1));
        f_->cloneList()->setCurrentIndex(model(ListKind::CloneList)->index(cloneRow, 1));
        QCOMPARE(panes()->SelectedRow(ListKind::CloneList), std::optional<int>(cloneRow));
    }
    // The state cell of a file's row in the file list as the screen shows
    // it (a grab of the widget would paint it anew).
    QImage StateCellImage(const FileRecord* file) {
        QApplication::processEvents();
        QTreeView* view = f_->fileList();
        const QRect cell = view->visualRect(model(ListKind::FileList)->index(RowOf(file), 0));
        const QPoint at = view->viewport()->mapTo(f_.get(), cell.topLeft());
        return f_->screen()
            ->grabWindow(f_->winId(), at.x(), at.y(), cell.width(), cell.height())
            .toImage();
    }
    // The state cell of a row of a list.
    QPoint StateCell(ListKind which, int row) const {
        return panes()->list(which)->visualRect(model(which)->index(row, 0)).center();
    }

private slots:
    void cleanup() {
        f_.reset();
        GroupSetSwitch::Instance().Set(true);
    }

    // Each key with the focus in each pane: the files it decides, and the
    // selection afterwards (file- and clone-level marking keeps it,
    // directory-level marking selects the first row of the refilled list).
    void keysMarkByTheFocusedPane() {
        ShowFrame();
        QVERIFY(GroupSetSwitch::Instance().on());
        enum Pane { Tree, Files, Clones };
        struct Case {
            Pane pane;
            const char* dir;
            Qt::Key key;
            Qt::KeyboardModifiers mods;
            const char* states; // ap1 ap2 bp1 bp2 aq cq r1 r2 r3 r4 r5
            bool refills;
        };
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, pad = ctrl | Qt::KeypadModifier;
        const Case cases[] = {
            // Group Set on: the position in every group of the clone set.
            {Files, "/t/a", Qt::Key_Insert, {}, "PPDDUUUUUUU", false},
            {Files, "/t/a", Qt::Key_Delete, {}, "DDPPUUUUUUU", false},
            {Clones, "/t/a", Qt::Key_Insert, {}, "DDPPUUUUUUU", false},
            {Clones, "/t/a", Qt::Key_Delete, {}, "PPDDUUUUUUU", false},
            {Clones, "/t/a", Qt::Key_Plus, pad, "PPPPUUUUUUU", false},
            {Files, "/t/a", Qt::Key_Space, {}, "PPUUUUUUUUU", false},
            {Clones, "/t/a", Qt::Key_Space, {}, "UUPPUUUUUUU", false},
            {Files, "/t/a", Qt::Key_Minus, pad, "DDUUDUDDDDU", true},
            {Files, "/t/a", Qt::Key_Delete, ctrl, "DDPPDPDDDDU", true},
            {Tree, "/t/a", Qt::Key_Insert, ctrl, "PPDDPDPPPPU", true},
            {Tree, "/t", Qt::Key_Plus, pad, "PPPPPPPPPPP", true},
            // Nothing in these panes.
            {Tree, "/t/a", Qt::Key_Insert, {}, "UUUUUUUUUUU", false},
            {Tree, "/t/a", Qt::Key_Space, {}, "UUUUUUUUUUU", false},
            {Clones, "/t/a", Qt::Key_Insert, ctrl, "UUUUUUUUUUU", false},
        };
        // Small enough for the file list of /t/a to scroll; the key keeps the
        // scroll position.
        f_->resize(640, 260);
        QScrollBar* bar = f_->fileList()->verticalScrollBar();
        QTreeView* views[] = {f_->folderTree(), f_->fileList(), f_->cloneList()};
        for (const Case& c : cases) {
            const QString what = QString::fromLatin1(c.states) + u" from pane "_s +
                                 QString::number(c.pane) + u" key "_s + QString::number(c.key);
            SetStates(FileState::Unsettled);
            panes()->RefreshRows();
            panes()->SelectDirectory(Dir(c.dir));
            if (c.pane != Tree)
                SelectRows(files_[1], 1); // a/p2; its clone b/p2
            QTRY_VERIFY(c.dir != "/t/a"s || bar->maximum() > 0);
            views[c.pane]->setFocus(); // the selection's colours follow the focus
            QTRY_VERIFY(views[c.pane]->hasFocus());
            // Scrolled by a row: a/p2 (row 1) shows at the top.
            bar->setValue(1);
            const int scrolled = bar->value();
            const QImage before = StateCellImage(files_[1]);
            const std::optional<int> fileRow = panes()->SelectedFileRow();
            const std::optional<int> cloneRow = panes()->SelectedRow(ListKind::CloneList);
            Press(views[c.pane], c.key, c.mods);
            QVERIFY2(States() == QString::fromLatin1(c.states),
                     qPrintable(what + u": "_s + States()));
            QVERIFY2(views[c.pane]->hasFocus(), qPrintable(what));
            if (c.refills) {
                const std::optional<int> first = model(ListKind::FileList)->rowCount() > 0
                                                     ? std::optional<int>(0)
                                                     : std::nullopt;
                QVERIFY2(panes()->SelectedFileRow() == first, qPrintable(what));
                QCOMPARE(CurrentRow(f_->fileList()), first.value_or(-1));
                if (first)
                    QVERIFY2(bar->value() == 0, qPrintable(what)); // the first row in view
            } else {
                QVERIFY2(bar->value() == scrolled, qPrintable(what));
                QVERIFY2(panes()->SelectedFileRow() == fileRow, qPrintable(what));
                QVERIFY2(panes()->SelectedRow(ListKind::CloneList) == cloneRow, qPrintable(what));
                // The row of a/p2 shows its new state.
                QVERIFY2((StateCellImage(files_[1]) == before) == (c.states[1] == 'U'),
                         qPrintable(what));
            }
        }

        // Ctrl+G switches Group Set off: one group only.
        Press(f_->fileList(), Qt::Key_G, ctrl);
        QVERIFY(!GroupSetSwitch::Instance().on());
        SetStates(FileState::Unsettled);
        panes()->SelectDirectory(Dir("/t/a"));
        SelectRows(files_[0], 0);
        Press(f_->fileList(), Qt::Key_Insert);
        QCOMPARE(States(), u"PUDUUUUUUUU"_s);

        // The one list marks its row's file alone.
        SetStates(FileState::Unsettled);
        SelectInOneList(files_[5]);
        Press(f_->oneList(), Qt::Key_Space);
        Press(f_->oneList(), Qt::Key_Insert); // nothing here
        QCOMPARE(States(), u"UUUUUPUUUUU"_s);
    }

    void stateIconClicksSelectTheRowAndAdvanceIt() {
        ShowFrame();
        panes()->SelectDirectory(Dir("/t/a"));
        f_->folderTree()->setFocus();
        QTRY_VERIFY(f_->folderTree()->hasFocus());
        // A click on a row's state icon selects and focuses the row first.
        const int row = RowOf(files_[1]);
        QTest::mouseClick(f_->fileList()->viewport(), Qt::LeftButton, {},
                          StateCell(ListKind::FileList, row));
        QCOMPARE(panes()->SelectedFileRow(), std::optional<int>(row));
        QCOMPARE(CurrentRow(f_->fileList()), row);
        QVERIFY(f_->fileList()->hasFocus());
        QCOMPARE(States(), u"PPUUUUUUUUU"_s);
        // A double click advances twice: b/p2 (clone row 1) and with it b/p1
        // go from Unsettled through Preserved to Deleted.
        const QPoint clone = StateCell(ListKind::CloneList, 1);
        QTest::mouseClick(f_->cloneList()->viewport(), Qt::LeftButton, {}, clone);
        QTest::mouseDClick(f_->cloneList()->viewport(), Qt::LeftButton, {}, clone);
        QTest::mouseRelease(f_->cloneList()->viewport(), Qt::LeftButton, {}, clone);
        QCOMPARE(panes()->SelectedRow(ListKind::CloneList), std::optional<int>(1));
        QCOMPARE(States(), u"PPDDUUUUUUU"_s);
        QCOMPARE(panes()->SelectedFileRow(), std::optional<int>(row));
    }

    void downMovesOneRowAfterATreeSelection() {
        ShowFrame();
        // The user picks b in the tree, then goes to the file list: the
        // first Down selects the first row, the next one the second.
        Press(f_->folderTree(), Qt::Key_Down);
        QCOMPARE(panes()->SelectedDirectory(), Dir("/t/b"));
        QCOMPARE(panes()->SelectedFileRow(), std::nullopt);
        Press(f_->folderTree(), Qt::Key_Tab);
        QVERIFY(f_->fileList()->hasFocus());
        Press(f_->fileList(), Qt::Key_Down);
        QCOMPARE(panes()->SelectedFileRow(), std::optional<int>(0));
        Press(f_->fileList(), Qt::Key_Down);
        QCOMPARE(panes()->SelectedFileRow(), std::optional<int>(1));
        QCOMPARE(CurrentRow(f_->fileList()), 1);
        // The same in the clone list the row filled.
        Press(f_->fileList(), Qt::Key_Tab);
        Press(f_->cloneList(), Qt::Key_Down);
        QCOMPARE(panes()->SelectedRow(ListKind::CloneList), std::optional<int>(0));
    }

    void navigationMovesTheSelectionAndSaysWhenNothingIsFound() {
        ShowFrame();
        const auto& rows = panes()->browser().fileRows();
        int nextBlock = 0;
        while (rows[size_t(nextBlock)].block == rows[0].block)
            ++nextBlock;
        Press(f_->fileList(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(panes()->SelectedFileRow(), std::optional<int>(nextBlock));
        QCOMPARE(CurrentRow(f_->fileList()), nextBlock);
        Press(f_->fileList(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(panes()->SelectedDirectory(), Dir("/t/b"));
        QCOMPARE(panes()->SelectedFileRow(), std::optional<int>(0));
        Press(f_->fileList(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(panes()->SelectedDirectory(), Dir("/t/a"));
        const int last = model(ListKind::FileList)->rowCount() - 1;
        QCOMPARE(panes()->SelectedFileRow(), std::optional<int>(last));
        QVERIFY(f_->fileList()->hasFocus());

        // From the tree: q and Q differ; the keyboard stays in the tree.
        Press(f_->folderTree(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(panes()->SelectedDirectory(), Dir("/t/c"));
        QCOMPARE(panes()->SelectedFileRow(), std::optional<int>(RowOf(files_[5])));
        QVERIFY(f_->folderTree()->hasFocus());

        // Everything decided: Ctrl+U says so and moves nothing.
        SetStates(FileState::Preserved);
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        Poller box([&] {
            auto* m = VisibleTopLevel<QMessageBox>();
            if (!m)
                return false;
            caption = m->windowTitle();
            text = m->text();
            icon = m->icon();
            buttons = m->standardButtons();
            m->accept();
            return true;
        });
        Press(f_->fileList(), Qt::Key_U, Qt::ControlModifier);
        QVERIFY(box.done());
        QCOMPARE(caption, u"Message"_s);
        QCOMPARE(text, u"Congratulations! All file had been settled!"_s);
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(buttons, QMessageBox::Ok);
        QCOMPARE(panes()->SelectedDirectory(), Dir("/t/c"));
        QCOMPARE(panes()->SelectedFileRow(), std::optional<int>(RowOf(files_[5])));
    }

    void statisticsShowTheCountsOfADirectoryAndOfTheWholeResult() {
        ShowFrame();
        files_[0]->state = FileState::Preserved; // a/p1, 1000 bytes
        files_[2]->state = FileState::Deleted;   // b/p1
        const QLocale locale = QLocale::system();
        auto bytes = [&](qulonglong n) { return locale.toString(n); };
        std::map<int, QString> seen;
        QString caption;
        QRect placed;
        auto readAndClose = [&](Qt::Key close) {
            return std::make_unique<Poller>([&seen, &caption, &placed, close] {
                auto* d = VisibleTopLevel<CDirStatisticsDlg>();
                if (!d)
                    return false;
                caption = d->windowTitle();
                placed = d->frameGeometry();
                seen.clear();
                for (const StatisticsRow& row : kStatisticsRows)
                    for (int id : {row.amount, row.size, row.sizeText})
                        if (id != 0)
                            seen[id] = d->Text(id);
                seen[stats::Location] = d->Text(stats::Location);
                if (close == Qt::Key_Escape)
                    QTest::keyClick(d, Qt::Key_Escape);
                else
                    d->findChild<QPushButton*>(u"id1"_s)->click();
                return true;
            });
        };

        // Alt+Enter in the tree: the selected directory, at the pointer.
        QCursor::setPos(f_->mapToGlobal(QPoint(200, 150)));
        panes()->SelectDirectory(Dir("/t/a"));
        auto poller = readAndClose(Qt::Key_Escape);
        Press(f_->folderTree(), Qt::Key_Return, Qt::AltModifier);
        QVERIFY(poller->done());
        QCOMPARE(caption, u"Statistics"_s);
        QVERIFY2(placed.contains(QCursor::pos()), "opens at the mouse pointer");
        QVERIFY(f_->screen()->availableGeometry().contains(placed));
        const std::map<int, QString> dirA = {
            {stats::Location, u"/t/a"_s},
            {stats::TotalAmount, u"7"_s},
            {stats::TotalSize, bytes(3340)},
            {stats::TotalSizeText, u"(3.26 KB)"_s},
            {stats::PreservedAmount, u"1"_s},
            {stats::PreservedSize, bytes(1000)},
            {stats::PreservedSizeText, QString()},
            {stats::DeletedAmount, u"0"_s},
            {stats::DeletedSize, u"0"_s},
            {stats::DeletedSizeText, QString()},
            {stats::UnsettledAmount, u"6"_s},
            {stats::UnsettledSize, bytes(2340)},
            {stats::UnsettledSizeText, u"(2.29 KB)"_s},
            {stats::Groups, u"3"_s},
            {stats::Directories, u"0"_s},
        };
        QCOMPARE(seen, dirA);

        // Alt+Enter elsewhere does nothing.
        seen.clear();
        poller = readAndClose(Qt::Key_Escape);
        Press(f_->fileList(), Qt::Key_Return, Qt::AltModifier);
        QTest::qWait(100);
        QVERIFY(!poller->done());
        poller.reset();

        // Total Statistics: the whole result, with an empty location.
        QCursor::setPos(f_->geometry().bottomRight() - QPoint(2, 2));
        poller = readAndClose(Qt::Key_Enter);
        f_->Action(cmd::TotalStatistics)->trigger();
        QVERIFY(poller->done());
        QVERIFY(f_->screen()->availableGeometry().contains(placed));
        QCOMPARE(seen[stats::Location], QString());
        QCOMPARE(seen[stats::TotalAmount] + u' ' + seen[stats::TotalSize] + u' ' +
                     seen[stats::TotalSizeText] + u' ' + seen[stats::Groups] + u' ' +
                     seen[stats::Directories],
                 u"11 "_s + bytes(6650) + u" (6.49 KB) 6 4"_s);
    }

    void explorerOpensTheDirectoryInTheFileManager() {
        ShowFrame();
        QList<QUrl> urls;
        UrlRecorder recorder(urls);
        QDesktopServices::setUrlHandler(u"file"_s, &recorder, "open");
        panes()->SelectDirectory(Dir("/t/b"));
        f_->RunCommand(cmd::DirExplorer);
        f_->Action(cmd::OneListView)->trigger();
        f_->RunCommand(cmd::OneListExplorer); // no row selected
        SelectInOneList(files_[5]);           // c/Q
        f_->RunCommand(cmd::OneListExplorer);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(urls,
                 (QList<QUrl>{QUrl::fromLocalFile(u"/t/b"_s), QUrl::fromLocalFile(u"/t/c"_s)}));
    }
};

PARADREX_QTEST_MAIN(ReviewCommandsTest)
#include "ReviewCommandsTest.moc"
