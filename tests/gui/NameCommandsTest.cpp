// The name commands in the main window on a real tree: F2 with the real keys
// edits a row's name and the file is renamed on disk, an edit left as it was
// renames nothing, a failed rename shows its message, Restore Origin Name,
// Ctrl+C / Ctrl+V in the clone list, the "Origin: " tip, and the directory
// commands in the log window. Which file takes which name is tested in
// fileops/.

#include "GuiTestSupport.h"
#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "gui/dialogs/CProcessDlg.h"
#include "gui/mainwnd/CContextMenus.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "review/ResultTreeOrder.h"
#include "settings/SettingFile.h"
#include "support/IsolatedHome.h"
#include "support/TempTree.h"
#include "uimodel/CommandIds.h"

#include <QAction>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <QtTest>

#include <memory>
#include <string>

using namespace paradrex;
using namespace Qt::Literals::StringLiterals;
using namespace std::string_literals;
using paradrex::test::Poller;
using paradrex::test::TempTree;
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

class NameCommandsTest : public QObject {
    Q_OBJECT

private:
    paradrex::test::TempWorkingDirectory cwd_;
    QTemporaryDir settingsDir_;
    std::unique_ptr<_Setting_file> settings_;
    std::unique_ptr<TempTree> tree_;
    std::unique_ptr<SearchState> state_;
    std::unique_ptr<CMainFrame> f_;

    // a/ and b/ hold one clone set of two groups; a/taken.txt and
    // a/<0xff>.bin's copy give a name to collide with and a name that is
    // not UTF-8.
    void ShowFrame() {
        f_.reset();
        tree_ = std::make_unique<TempTree>();
        tree_->createFile("a/one.txt", "first");
        tree_->createFile("b/uno.txt", "first");
        tree_->createFile("a/two.txt", "second");
        tree_->createFile("b/dos.txt", "second");
        tree_->createFile("a/taken.txt", "unique");
        tree_->createFile("a/\xff.bin", "odd");
        tree_->createFile("c/odd.bin", "odd");
        state_ = std::make_unique<SearchState>();
        state_->job.roots.Add(tree_->root());
        QCOMPARE(RunSearch(*state_, SearchEnvironment{}), 0);
        settings_ = std::make_unique<_Setting_file>(
            settingsDir_.path().toStdString(),
            _Setting_file::Options{_Setting_file::Access::ReadWrite, false});
        f_ = std::make_unique<CMainFrame>(*settings_, *state_, [](QWidget*) { return false; });
        f_->ShowAtStart();
        QApplication::setActiveWindow(f_.get());
        QVERIFY(QTest::qWaitForWindowActive(f_.get()));
        f_->ShowResult();
        QTRY_VERIFY(f_->fileList()->hasFocus());
    }

    CResultPanes* panes() const { return f_->panes(); }
    CResultListModel* model(ListKind which) const { return panes()->listModel(which); }
    QString Status() const { return f_->statusBar()->currentMessage(); }

    // Shows the directory of `rel` and selects its row in the file list.
    int SelectFile(const std::string& rel) {
        const std::string path = tree_->path(rel);
        const std::string dir = path.substr(0, path.rfind('/'));
        panes()->SelectDirectory(FindResultDir(state_->resultRoot.get(), dir));
        for (int row = 0; row < model(ListKind::FileList)->rowCount(); ++row)
            if (FilePath(*model(ListKind::FileList)->FileAt(row)) == path) {
                panes()->SelectFileRow(row);
                return row;
            }
        return -1;
    }
    int CloneRowOf(const std::string& rel) const {
        for (int row = 0; row < model(ListKind::CloneList)->rowCount(); ++row)
            if (FilePath(*model(ListKind::CloneList)->FileAt(row)) == tree_->path(rel))
                return row;
        return -1;
    }
    void SelectCloneRow(int row) {
        f_->cloneList()->setCurrentIndex(model(ListKind::CloneList)->index(row, 1));
        QCOMPARE(panes()->SelectedRow(ListKind::CloneList), std::optional<int>(row));
    }
    QString NameCell(ListKind which, int row) const {
        return model(which)->index(row, 1).data().toString();
    }
    void Press(QWidget* pane, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        if (!pane->hasFocus()) {
            pane->setFocus();
            QTRY_VERIFY(pane->hasFocus());
        }
        QTest::keyClick(pane, key, mods);
    }

    // F2 in `list`, then the editor's text replaced by `text` (left as it
    // was when null) and Enter.
    void EditName(QTreeView* list, const char* text) {
        Press(list, Qt::Key_F2);
        QLineEdit* editor = nullptr;
        QTRY_VERIFY((editor = qobject_cast<QLineEdit*>(QApplication::focusWidget())));
        QVERIFY(list->isAncestorOf(editor));
        if (text) {
            editor->clear();
            QTest::keyClicks(editor, QString::fromUtf8(text));
        }
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(list->hasFocus());
    }

    struct LogWindow {
        QString caption;
        std::string log;
        bool listsEmptyWhileRunning = false;
    };
    // Runs a directory command and closes its log window once it is done.
    LogWindow RunInLogWindow(int command) {
        LogWindow seen;
        Poller close([&] {
            auto* process = VisibleTopLevel<CProcessDlg>();
            if (!process || !process->finished())
                return false;
            seen.caption = process->windowTitle();
            seen.log = process->logText();
            seen.listsEmptyWhileRunning = model(ListKind::FileList)->rowCount() == 0 &&
                                          model(ListKind::CloneList)->rowCount() == 0;
            process->closeButton()->click();
            return true;
        });
        f_->RunCommand(command);
        [&] { QVERIFY(close.done()); }();
        return seen;
    }

private slots:
    void cleanup() {
        f_.reset();
        tree_.reset();
    }

    void f2RenamesTheFileOnDiskAndBothListsShowIt() {
        ShowFrame();
        // The Enter that ends an edit opens no file.
        QList<QUrl> opened;
        UrlRecorder recorder(opened);
        QDesktopServices::setUrlHandler(u"file"_s, &recorder, "open");
        auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler(u"file"_s); });
        const int row = SelectFile("a/one.txt");
        QVERIFY(row >= 0);
        const int cloneRow = CloneRowOf("a/one.txt");
        QVERIFY(cloneRow >= 0);
        QVERIFY(model(ListKind::FileList)->index(row, 1).data(Qt::ToolTipRole).isNull());

        EditName(f_->fileList(), "renamed.txt");
        QVERIFY(!tree_->exists("a/one.txt"));
        QCOMPARE(tree_->readFile("a/renamed.txt"), "first"s);
        QCOMPARE(NameCell(ListKind::FileList, row), u"renamed.txt"_s);
        QCOMPARE(NameCell(ListKind::CloneList, cloneRow), u"renamed.txt"_s);
        QCOMPARE(model(ListKind::FileList)->index(row, 1).data(Qt::ToolTipRole).toString(),
                 u"Origin: one.txt"_s);
        QCOMPARE(Status(), QString());

        // Onto a name that exists: the message, and both files as they were.
        EditName(f_->fileList(), "taken.txt");
        QCOMPARE(Status(), QString::fromStdString("Rename Error: " + tree_->path("a/renamed.txt") +
                                                  " -> taken.txt"));
        QCOMPARE(tree_->readFile("a/renamed.txt"), "first"s);
        QCOMPARE(tree_->readFile("a/taken.txt"), "unique"s);
        QCOMPARE(NameCell(ListKind::FileList, row), u"renamed.txt"_s);

        // Restore Origin Name from the file list's menu.
        f_->statusBar()->clearMessage();
        f_->RunCommand(cmd::FileRestoreName);
        QCOMPARE(tree_->readFile("a/one.txt"), "first"s);
        QCOMPARE(Status(), QString::fromStdString(tree_->path("a/renamed.txt") + " -> one.txt"));
        QCOMPARE(NameCell(ListKind::FileList, row), u"one.txt"_s);
        QCOMPARE(NameCell(ListKind::CloneList, cloneRow), u"one.txt"_s);
        QVERIFY(model(ListKind::FileList)->index(row, 1).data(Qt::ToolTipRole).isNull());
        QCOMPARE(opened, QList<QUrl>());
    }

    // The shown text of a name that is not UTF-8 encodes to other bytes: an
    // edit left as it was must not rename, a typed name must, and Restore
    // brings the bytes back.
    void aNameThatIsNotUtf8KeepsItsBytes() {
        ShowFrame();
        const int row = SelectFile("a/\xff.bin");
        QVERIFY(row >= 0);
        f_->statusBar()->clearMessage();
        EditName(f_->fileList(), nullptr);
        QCOMPARE(tree_->readFile("a/\xff.bin"), "odd"s);
        QCOMPARE(Status(), QString());
        const FileRecord* file = model(ListKind::FileList)->FileAt(row);
        QCOMPARE(file->name, file->originName);

        EditName(f_->fileList(), "plain.bin");
        QCOMPARE(tree_->readFile("a/plain.bin"), "odd"s);
        f_->RunCommand(cmd::FileRestoreName);
        QCOMPARE(tree_->readFile("a/\xff.bin"), "odd"s);
        QVERIFY(!tree_->exists("a/plain.bin"));
    }

    // Keys typed into the name editor edit the name: Delete, Insert and
    // Space do not mark the file, and Escape leaves the name as it was.
    void keysInTheEditorDoNotMark() {
        ShowFrame();
        const int row = SelectFile("a/one.txt");
        QVERIFY(row >= 0);
        const FileRecord* file = model(ListKind::FileList)->FileAt(row);
        const FileState before = file->state;
        Press(f_->fileList(), Qt::Key_F2);
        QLineEdit* editor = nullptr;
        QTRY_VERIFY((editor = qobject_cast<QLineEdit*>(QApplication::focusWidget())));
        QTest::keyClick(editor, Qt::Key_Home);
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClick(editor, Qt::Key_Insert);
        QTest::keyClick(editor, Qt::Key_Space);
        QCOMPARE(editor->text(), u" ne.txt"_s);
        QCOMPARE(file->state, before);
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(f_->fileList()->hasFocus());
        QCOMPARE(tree_->readFile("a/one.txt"), "first"s);
        QCOMPARE(file->state, before);
    }

    void f2InTheOneList() {
        ShowFrame();
        f_->Action(cmd::OneListView)->trigger();
        CResultListModel* one = model(ListKind::OneList);
        int row = 0;
        while (row < one->rowCount() && FilePath(*one->FileAt(row)) != tree_->path("c/odd.bin"))
            ++row;
        QVERIFY(row < one->rowCount());
        f_->oneList()->setCurrentIndex(one->index(row, 1));
        EditName(f_->oneList(), "even.bin");
        QCOMPARE(tree_->readFile("c/even.bin"), "odd"s);
        QCOMPARE(NameCell(ListKind::OneList, row), u"even.bin"_s);
    }

    // Rename Base on This Directory from the file list, then Restore Origin
    // Name in This Directory (Recursively) from the tree: each in the log
    // window under its caption, and afterwards the file list shows the
    // directory again with its first row selected.
    void directoryCommandsRunInTheLogWindow() {
        ShowFrame();
        SelectFile("a/one.txt");
        f_->fileList()->setFocus();
        QTRY_VERIFY(f_->fileList()->hasFocus());
        LogWindow renaming = RunInLogWindow(cmd::FileRenameInDirectory);
        QCOMPARE(renaming.caption, u"Renaming"_s);
        QVERIFY(renaming.listsEmptyWhileRunning);
        QVERIFY(renaming.log.find(tree_->path("b/uno.txt") + " -> one.txt\n") != std::string::npos);
        QCOMPARE(tree_->readFile("b/one.txt"), "first"s);
        QCOMPARE(tree_->readFile("b/two.txt"), "second"s);
        QCOMPARE(tree_->readFile("c/\xff.bin"), "odd"s);
        QVERIFY(model(ListKind::FileList)->rowCount() > 0);
        QCOMPARE(panes()->SelectedRow(ListKind::FileList), std::optional<int>(0));
        QVERIFY(model(ListKind::CloneList)->rowCount() > 0);
        QTRY_VERIFY(f_->fileList()->hasFocus());

        f_->folderTree()->setFocus();
        QTRY_VERIFY(f_->folderTree()->hasFocus());
        panes()->SelectDirectory(FindResultDir(state_->resultRoot.get(), tree_->root()));
        LogWindow restoring = RunInLogWindow(cmd::DirRestoreNames);
        QCOMPARE(restoring.caption, u"Restoring Names"_s);
        for (const char* rel : {"b/uno.txt", "b/dos.txt", "c/odd.bin"})
            QVERIFY2(tree_->exists(rel), rel);
        QVERIFY(!tree_->exists("b/one.txt"));
        // The root holds no file itself: its list stays empty, the keyboard
        // in the tree.
        QCOMPARE(model(ListKind::FileList)->rowCount(), 0);
        QTRY_VERIFY(f_->folderTree()->hasFocus());
    }

    void copyAndPasteNameInTheCloneList() {
        ShowFrame();
        const int fileRow = SelectFile("a/one.txt");
        QMenu* popup = f_->contextMenus()->Popup(ContextPopup::CloneSel);
        QAction* pasteItem = nullptr;
        for (QAction* a : popup->actions())
            if (a->data().toInt() == cmd::PasteName)
                pasteItem = a;
        QVERIFY(pasteItem);
        auto pasteEnabled = [&] {
            emit popup->aboutToShow();
            return pasteItem->isEnabled();
        };
        QVERIFY(!pasteEnabled());

        SelectCloneRow(CloneRowOf("b/uno.txt"));
        Press(f_->cloneList(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(pasteEnabled());
        const int target = CloneRowOf("a/one.txt");
        SelectCloneRow(target);
        Press(f_->cloneList(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(tree_->readFile("a/uno.txt"), "first"s);
        QCOMPARE(tree_->readFile("b/uno.txt"), "first"s);
        QCOMPARE(NameCell(ListKind::CloneList, target), u"uno.txt"_s);
        QCOMPARE(NameCell(ListKind::FileList, fileRow), u"uno.txt"_s);

        // Another file-list row fills the clone list anew: the copied row
        // is forgotten and Ctrl+V does nothing.
        SelectFile("a/two.txt");
        QVERIFY(!pasteEnabled());
        SelectCloneRow(CloneRowOf("a/two.txt"));
        Press(f_->cloneList(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(tree_->readFile("a/two.txt"), "second"s);
        QCOMPARE(tree_->readFile("b/dos.txt"), "second"s);

        // Paste Name (Group) from the Clone menu: b's names onto a's files in
        // every group of the clone set, and the file list shows them.
        SelectCloneRow(CloneRowOf("b/dos.txt"));
        Press(f_->cloneList(), Qt::Key_C, Qt::ControlModifier);
        SelectCloneRow(CloneRowOf("a/two.txt"));
        f_->Action(cmd::ClonePasteNameGroup)->trigger();
        QCOMPARE(tree_->readFile("a/dos.txt"), "second"s);
        QCOMPARE(tree_->readFile("a/uno.txt"), "first"s);
        QStringList names;
        for (int row = 0; row < model(ListKind::FileList)->rowCount(); ++row)
            names << NameCell(ListKind::FileList, row);
        QVERIFY2(names.contains(u"dos.txt"_s) && !names.contains(u"two.txt"_s),
                 qPrintable(names.join(u' ')));
    }
};

PARADREX_QTEST_MAIN(NameCommandsTest)
#include "NameCommandsTest.moc"
