// The panes' context menus in the main window: a right click or the
// context-menu key opens the popup the rules choose, its items are enabled
// for that popup alone, and the "Open" submenu starts programs on the
// selected file. The rules themselves are tested in uimodel/.

#include "GuiTestSupport.h"
#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "gui/QtBytes.h"
#include "gui/mainwnd/CContextMenus.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "review/GroupSetSwitch.h"
#include "settings/SettingFile.h"
#include "support/IsolatedHome.h"
#include "uimodel/CommandIds.h"
#include "uimodel/ContextMenuTable.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QStatusBar>
#include <QTreeView>
#include <QtTest>

#include <memory>
#include <string>

using namespace paradrex;
using namespace Qt::Literals::StringLiterals;

namespace {

// The entries of a menu: "-" for a separator, else the text.
QStringList Entries(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? u"-"_s : a->text());
    return out;
}

QAction* ItemOf(const QMenu* menu, int id) {
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && a->data().toInt() == id)
            return a;
    return nullptr;
}

// Records the addresses handed to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

class ContextMenusTest : public QObject {
    Q_OBJECT

private:
    paradrex::test::TempWorkingDirectory cwd_;
    QTemporaryDir settingsDir_;
    QTemporaryDir files_; // the result's files, on disk
    std::unique_ptr<_Setting_file> settings_;
    std::unique_ptr<SearchState> state_;
    std::unique_ptr<CMainFrame> f_;

    std::string FilesRoot() const { return files_.path().toStdString(); }

    // <root>/a holds "; touch pwned" and "y", <root>/b a copy of each: two
    // groups, each a clone set of a and b.
    void BuildResult() {
        state_ = std::make_unique<SearchState>();
        SearchState& s = *state_;
        const NameRecord* root = NameRecord::Create(s.namePool, nullptr, FilesRoot());
        const NameRecord* a = NameRecord::Create(s.namePool, root, "a");
        const NameRecord* b = NameRecord::Create(s.namePool, root, "b");
        for (const char* name : {"; touch pwned", "y"}) {
            for (const char* dir : {"a", "b"}) {
                QDir(files_.path()).mkpath(QString::fromLatin1(dir));
                QFile file(files_.path() + u'/' + QString::fromLatin1(dir) + u'/' +
                           QString::fromLatin1(name));
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write("same content\n");
            }
            StoreGroup(s, {FileRecord::Create(s.recordPool, a, name, 13, 1700000000),
                           FileRecord::Create(s.recordPool, b, name, 13, 1700000000)});
        }
        BuildResultTree(s);
    }
    static void SetRow(_File_context_menu_row& row, int visible, const char* caption,
                       std::string command) {
        row.Visible = visible;
        row.Menu = caption;
        row.Command = std::move(command);
    }

    // A shown frame with the result, its first row selected and the file
    // list focused.
    void ShowFrame(const std::function<void(_Setting_file&)>& adjust = {}) {
        GroupSetSwitch::Instance().Set(true);
        f_.reset();
        settings_ = std::make_unique<_Setting_file>(
            settingsDir_.path().toStdString(),
            _Setting_file::Options{_Setting_file::Access::ReadWrite, false});
        if (adjust)
            adjust(*settings_);
        BuildResult();
        f_ = std::make_unique<CMainFrame>(*settings_, *state_, [](QWidget*) { return false; });
        f_->resize(800, 500);
        f_->ShowAtStart();
        QApplication::setActiveWindow(f_.get());
        QVERIFY(QTest::qWaitForWindowActive(f_.get()));
        f_->ShowResult();
        QTRY_VERIFY(f_->fileList()->hasFocus());
    }
    CResultPanes* panes() const { return f_->panes(); }
    CResultListModel* model(ListKind which) const { return panes()->listModel(which); }
    QMenu* Popup(ContextPopup popup) const { return f_->contextMenus()->Popup(popup); }

    // The popup on screen, closed; null when none opened.
    static QMenu* TakePopup() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu)
            menu->close();
        return menu;
    }
    // A right click through the window, as the system delivers it.
    void RightClick(QWidget* viewport, QPoint at) {
        QTest::mouseClick(f_->windowHandle(), Qt::RightButton, {}, viewport->mapTo(f_.get(), at));
    }
    // The context-menu key: the system sends the focused widget a keyboard
    // context-menu request (the offscreen platform has no keyboard to do so).
    void MenuKey(QWidget* pane) {
        pane->setFocus();
        QTRY_VERIFY(pane->hasFocus());
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              pane->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(QApplication::focusWidget(), &key);
    }
    QPoint CellCentre(ListKind which, int row, ListColumn column) const {
        return panes()
            ->list(which)
            ->visualRect(model(which)->index(row, model(which)->ColumnOf(column)))
            .center();
    }

private slots:
    void cleanup() {
        f_.reset();
        QApplication::processEvents();
    }

    void rightClickOpensThePopupOfTheCellUnderThePointer() {
        ShowFrame(); // the first row selected
        QTreeView* files = f_->fileList();
        struct Case {
            ListKind list;
            int row;
            ListColumn column;
            const char* popup;
            int selected; // the list's selected row afterwards
        };
        const Case cases[] = {
            {ListKind::FileList, 1, ListColumn::Size, "FileAll", 1},
            {ListKind::FileList, 1, ListColumn::Name, "FileSel", 1},
            {ListKind::FileList, 0, ListColumn::Name, "FileSel", 0},
            {ListKind::CloneList, 0, ListColumn::Directory, "CloneAll", 0},
            {ListKind::CloneList, 0, ListColumn::Name, "CloneSel", 0},
        };
        for (const Case& c : cases) {
            QTreeView* view = panes()->list(c.list);
            const QPoint at = CellCentre(c.list, c.row, c.column);
            RightClick(view->viewport(), at);
            QMenu* menu = TakePopup();
            QVERIFY2(menu && menu->objectName() == QLatin1String(c.popup), c.popup);
            QCOMPARE(panes()->SelectedRow(c.list), std::optional<int>(c.selected));
            QVERIFY(view->hasFocus());
        }
        // Below the rows: the list's popup.
        RightClick(files->viewport(), QPoint(20, files->viewport()->height() - 5));
        QMenu* all = TakePopup();
        QVERIFY(all);
        QCOMPARE(all->objectName(), u"FileAll"_s);

        // The tree: on a node's label, which it selects, and nowhere else.
        QTreeView* tree = f_->folderTree();
        const QModelIndex root = tree->model()->index(0, 0);
        const QModelIndex b = tree->model()->index(1, 0, root);
        tree->expand(root);
        const QRect label = tree->visualRect(b);
        RightClick(tree->viewport(), QPoint(label.left() + 30, label.center().y()));
        QMenu* dir = TakePopup();
        QVERIFY(dir);
        QCOMPARE(dir->objectName(), u"Directory"_s);
        QCOMPARE(tree->currentIndex(), b);
        QCOMPARE(panes()->SelectedDirectory()->name->name(), std::string_view("b"));
        RightClick(tree->viewport(), QPoint(tree->viewport()->width() - 3, label.center().y()));
        QCOMPARE(TakePopup(), nullptr);
    }

    void theContextMenuKeyOpensAtTheSelectionOrNothing() {
        ShowFrame();
        // A selected row: its popup at the row's centre.
        panes()->SelectFileRow(1);
        MenuKey(f_->fileList());
        QMenu* sel = TakePopup();
        QVERIFY(sel);
        QCOMPARE(sel->objectName(), u"FileSel"_s);
        const QRect row = f_->fileList()->visualRect(model(ListKind::FileList)->index(1, 1));
        const QPoint rowPos = f_->fileList()->viewport()->mapToGlobal(row.topLeft());
        QVERIFY(sel->pos().y() >= rowPos.y() && sel->pos().y() <= rowPos.y() + row.height());

        // An empty clone list shows nothing.
        f_->fileList()->clearSelection();
        QCOMPARE(model(ListKind::CloneList)->rowCount(), 0);
        MenuKey(f_->cloneList());
        QCOMPARE(TakePopup(), nullptr);

        // The file list without a selected row: its popup at its top left.
        MenuKey(f_->fileList());
        QMenu* all = TakePopup();
        QVERIFY(all);
        QCOMPARE(all->objectName(), u"FileAll"_s);
        QCOMPARE(all->pos(), f_->fileList()->mapToGlobal(f_->fileList()->contentsRect().topLeft()));
    }

    // Greying an item in one popup leaves the command's action, its shortcut
    // and its text in other popups alone.
    void popupsEnableTheirOwnItems() {
        ShowFrame();
        int renamed = 0;
        f_->SetCommandHandler(cmd::Rename, [&renamed] { ++renamed; });
        f_->fileList()->clearSelection();
        QMenu* file = Popup(ContextPopup::File);
        emit file->aboutToShow();
        // No selected row.
        QVERIFY(!ItemOf(file, cmd::Rename)->isEnabled());
        QVERIFY(!f_->contextMenus()->openSubmenu()->menuAction()->isEnabled());
        QVERIFY(ItemOf(file, cmd::FileSetAllPreserved)->isEnabled());
        QVERIFY(f_->Action(cmd::Rename)->isEnabled());
        QCOMPARE(f_->Action(cmd::Rename)->isEnabled(), f_->commands().Enabled(cmd::Rename));
        QTest::keyClick(f_->fileList(), Qt::Key_F2);
        QCOMPARE(renamed, 1);

        // With a selected row it is enabled; a command without its code
        // stays greyed.
        f_->SetCommandHandler(cmd::FileRestoreName, {});
        panes()->SelectFileRow(0);
        QMenu* sel = Popup(ContextPopup::FileSel);
        emit sel->aboutToShow();
        QVERIFY(ItemOf(sel, cmd::Rename)->isEnabled());
        QVERIFY(!ItemOf(sel, cmd::FileRestoreName)->isEnabled());
        QVERIFY(ItemOf(sel, cmd::FileOnlyPreserve)->isEnabled());

        // One command, its popups' own texts, one action.
        QAction* command = f_->Action(cmd::OnlyPreserveDirectory);
        QSignalSpy ran(command, &QAction::triggered);
        QAction* inTree = ItemOf(Popup(ContextPopup::Directory), cmd::OnlyPreserveDirectory);
        QAction* inFiles = ItemOf(Popup(ContextPopup::FileAll), cmd::OnlyPreserveDirectory);
        QCOMPARE(inTree->text(),
                 u"Only &Preserve Files in This Directory (Recursively)\tCtrl+Insert"_s);
        QCOMPARE(inFiles->text(), u"Only P&reserve Files in This Directory\tCtrl+Insert"_s);
        QVERIFY(inFiles->shortcuts().isEmpty());
        inFiles->trigger();
        QCOMPARE(ran.count(), 1);
        QCOMPARE(model(ListKind::FileList)->FileAt(0)->state, FileState::Preserved);
    }

    void openSubmenuFollowsTheFileContextMenuRows() {
        ShowFrame([](_Setting_file& s) {
            for (_File_context_menu_row& row : s.fileContextMenu.rows)
                row.Visible = 0;
            SetRow(s.fileContextMenu.rows[0], 1, "Open as &Text", "/bin/true");
            SetRow(s.fileContextMenu.rows[1], 0, "Hidden", "/bin/true");
            SetRow(s.fileContextMenu.rows[2], 1, "&Third", "");
        });
        QMenu* open = f_->contextMenus()->openSubmenu();
        auto ids = [&] {
            QList<int> out;
            for (const QAction* a : open->actions())
                out << a->data().toInt();
            return out;
        };
        QCOMPARE(Entries(open), (QStringList{u"&Open"_s, u"Open as &Text"_s, u"&Third"_s}));
        QCOMPARE(ids(), (QList<int>{50, 51, 53}));
        // The five popups about one file show it first.
        for (ContextPopup p : {ContextPopup::File, ContextPopup::Clone, ContextPopup::FileSel,
                               ContextPopup::CloneSel, ContextPopup::OneListView})
            QCOMPARE(Popup(p)->actions().first()->menu(), open);
        settings_->fileContextMenu.rows[1].Visible = 1;
        f_->RebuildOpenSubmenu();
        QCOMPARE(ids(), (QList<int>{50, 51, 52, 53}));
    }

    void openCommandsStartTheirProgramOnTheSelectedFile() {
        // A program that records its arguments, one per line.
        const QString record = files_.path() + u"/record"_s;
        {
            QFile script(record);
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(
                "#!/bin/sh\nprintf '%s\\n' \"$@\" >\"$0.tmp\"\nmv \"$0.tmp\" \"$0.argv\"\n");
        }
        QVERIFY(
            QFile::setPermissions(record, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        ShowFrame([&](_Setting_file& s) {
            SetRow(s.fileContextMenu.rows[0], 1, "&Record", record.toStdString());
            SetRow(s.fileContextMenu.rows[1], 1, "&Missing", "/nonexistent/viewer --flag");
        });
        const FileRecord* file = model(ListKind::FileList)->FileAt(0);
        QCOMPARE(std::string(file->name), std::string("; touch pwned"));
        const std::string path = FilesRoot() + "/a/; touch pwned";
        panes()->SelectFileRow(0);
        QMenu* open = f_->contextMenus()->openSubmenu();

        ItemOf(open, 51)->trigger();
        QTRY_VERIFY(QFile::exists(record + u".argv"_s));
        QFile argv(record + u".argv"_s);
        QVERIFY(argv.open(QIODevice::ReadOnly));
        QCOMPARE(argv.readAll(), QByteArray::fromStdString(path + '\n'));
        QVERIFY(!QFile::exists(u"pwned"_s));
        QVERIFY(!QFile::exists(files_.path() + u"/pwned"_s));
        QVERIFY(f_->statusBar()->currentMessage().isEmpty());

        ItemOf(open, 52)->trigger();
        QCOMPARE(f_->statusBar()->currentMessage(), u"Can't start /nonexistent/viewer"_s);

        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(u"file"_s, &recorder, "open");
        ItemOf(open, cmd::OpenFile)->trigger();
        // Without a selected file nothing happens.
        f_->fileList()->clearSelection();
        ItemOf(open, cmd::OpenFile)->trigger();
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(recorder.urls, QList<QUrl>{FileUrl(path)});
        QVERIFY(recorder.urls.first().toEncoded().endsWith("/a/%3B%20touch%20pwned"));
    }
};

PARADREX_QTEST_MAIN(ContextMenusTest)
#include "ContextMenusTest.moc"
