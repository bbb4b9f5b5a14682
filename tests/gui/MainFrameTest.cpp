// The main window: its commands, layouts, the New Search flow with real
// searches, and what it stores into the settings when it closes.

#include "GuiTestSupport.h"
#include "engine/ResultGroups.h"
#include "engine/SearchState.h"
#include "gui/dialogs/CRunDialog.h"
#include "gui/mainwnd/CContextMenus.h"
#include "gui/mainwnd/CFolderBarWindow.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CCustomDrawStandardListView.h"
#include "gui/panes/CCustomDrawVistaListView.h"
#include "gui/panes/CFolderTreeModel.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "gui/panes/CStateImages.h"
#include "gui/panes/CVistaTheme.h"
#include "gui/styles/COfficeXPStyle.h"
#include "gui/styles/IconTheme.h"
#include "review/GroupSetSwitch.h"
#include "review/ResultTreeOrder.h"
#include "settings/SettingFile.h"
#include "support/IsolatedHome.h"
#include "support/TempTree.h"
#include "uimodel/AboutTexts.h"
#include "uimodel/CommandIds.h"

#include <QAction>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <future>
#include <memory>

using namespace paradrex;
using namespace Qt::Literals::StringLiterals;
using paradrex::test::Poller;
using paradrex::test::TempTree;
using paradrex::test::VisibleTopLevel;

namespace {

struct ExpectedAction {
    int id;
    const char* text;
    const char* keys; // portable key sequences, "; " between two
};

const ExpectedAction kExpected[] = {
    {133, "&New Search...\tCtrl+N", "Ctrl+N"},
    {32802, "&Preview...\tCtrl+W", "Ctrl+W"},
    {137, "&Delete Files Marked Cross...", ""},
    {32960, "&Save Result...\tCtrl+Shift+S", "Ctrl+Shift+S"},
    {32961, "Open &Result...\tCtrl+Shift+O", "Ctrl+Shift+O"},
    {32962, "Open &Last Result\tCtrl+Shift+L", "Ctrl+Shift+L"},
    {136, "&Group Set\tCtrl+G", "Ctrl+G"},
    {57665, "E&xit\tAlt+F4", "Alt+F4"},
    {135, "Next &Unsettled File\tCtrl+U", "Ctrl+U"},
    {32818, "P&revious Group\tCtrl+Up Arrow", "Ctrl+Up"},
    {134, "Next &Group\tCtrl+Down Arrow", "Ctrl+Down"},
    {32828, "Pr&evious Directory\tCtrl+Page Up", "Ctrl+PgUp"},
    {32830, "&Next Directory\tCtrl+Page Down", "Ctrl+PgDown"},
    {140, "Next All &Preserved File\tCtrl+P", "Ctrl+P"},
    {141, "Next All &Deleted File\tCtrl+D", "Ctrl+D"},
    {32921, "Next Name Not &Match\tCtrl+M", "Ctrl+M"},
    {32937, "Total &Statistics", ""},
    {32963, "Re-&verify Result...", ""},
    {131, "&Options...\tCtrl+O", "Ctrl+O"},
    {59392, "&Toolbar", ""},
    {59393, "&Status Bar", ""},
    {32948, "T&ree && List View", ""},
    {32949, "&One ListView", ""},
    {32834, "&Grid", ""},
    {32801, "User &Manual", ""},
    {32799, "&Home Page", ""},
    {57664, "&About Paradrex...", ""},
    {32926, "", "Ctrl+Ins"},
    {32927, "", "Ctrl+Del"},
    {32932, "", "Ins"},
    {32933, "", "Del"},
    {32928, "", "Ctrl+Num++"},
    {32929, "", "Ctrl+Num+-"},
    {32930, "", "Ctrl+Num+*"},
    {32954, "", "F2"},
    {32934, "", "Ctrl+C"},
    {32935, "", "Ctrl+V"},
    {132, "", "Alt+Return; Alt+Num+Enter"},
};

const int kNeedResult[] = {32802, 137, 135,   32818, 134,   32828, 32830,
                           140,   141, 32921, 32937, 32960, 32963};
const int kNavigation[] = {135, 32818, 134, 32828, 32830, 140, 141, 32921};
// The marking keys, the name keys and the review commands that need no
// result.
const int kReviewKeys[] = {32926, 32927, 32932, 32933, 32928, 32929,
                           32930, 132,   32954, 32934, 32935};

QString Sequence(const QList<QKeySequence>& keys) {
    QStringList parts;
    for (const QKeySequence& k : keys)
        parts << k.toString(QKeySequence::PortableText);
    return parts.join(u"; "_s);
}

// The entries of a menu as "-" for separators and menu texts otherwise.
QStringList Entries(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* a : actions)
        out << (a->isSeparator() ? u"-"_s : a->text());
    return out;
}

// Whether a list draws grid lines.
bool Grid(const QTreeView* list) {
    auto* d = qobject_cast<HV::CCustomDrawListView*>(list->itemDelegate());
    return d && d->grid();
}

QStringList ToolBarIds(QToolBar* bar) {
    QStringList out;
    for (const QAction* a : bar->actions())
        out << (a->isSeparator() ? u"|"_s : QString::number(a->data().toInt()));
    return out;
}

// Points an environment variable elsewhere for the life of the object.
class EnvOverride {
public:
    EnvOverride(const char* name, const std::string& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~EnvOverride() { had_ ? (void)qputenv(name_, old_) : (void)qunsetenv(name_); }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// Records the addresses handed to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private:
    paradrex::test::TempWorkingDirectory cwd_;
    std::unique_ptr<QTemporaryDir> settingsDir_;
    std::unique_ptr<_Setting_file> settings_;
    std::unique_ptr<SearchState> state_;
    int dialogCalls_ = 0;
    std::function<bool(QWidget*)> dialog_;

    // A frame on fresh settings and a fresh search state, with the Group Set
    // switch on as at start; the New Search dialog is replaced by `dialog_`
    // (by default: cancelled).
    std::unique_ptr<CMainFrame> MakeFrame(std::function<void(_Setting_file&)> adjust = {}) {
        GroupSetSwitch::Instance().Set(true);
        settingsDir_.reset();
        settings_.reset();
        settingsDir_ = std::make_unique<QTemporaryDir>();
        return OpenFrame(std::move(adjust));
    }

    // A frame on the settings in the current settings folder, as the program
    // finds them when it starts again.
    std::unique_ptr<CMainFrame> OpenFrame(std::function<void(_Setting_file&)> adjust = {}) {
        settings_.reset(); // writes Setting.ini
        // No association service: a first start would otherwise read the
        // desktop's default programs of the file context menu.
        settings_ = std::make_unique<_Setting_file>(
            settingsDir_->path().toStdString(),
            _Setting_file::Options{_Setting_file::Access::ReadWrite, false});
        if (adjust)
            adjust(*settings_);
        state_ = std::make_unique<SearchState>();
        dialogCalls_ = 0;
        dialog_ = [](QWidget*) { return false; };
        return std::make_unique<CMainFrame>(*settings_, *state_, [this](QWidget* parent) {
            ++dialogCalls_;
            return dialog_(parent);
        });
    }

    static bool ShowAndActivate(CMainFrame& f) {
        f.ShowAtStart();
        QApplication::setActiveWindow(&f);
        return QTest::qWaitForWindowActive(&f);
    }

    // Clicks Done in the progress dialog once the search is done.
    static std::unique_ptr<Poller> PressDoneWhenFinished() {
        return std::make_unique<Poller>([] {
            auto* run = VisibleTopLevel<CRunDialog>();
            if (!run)
                return false;
            auto* done = run->findChild<QPushButton*>(u"id1028"_s);
            if (!done->isEnabled())
                return false;
            done->click();
            return true;
        });
    }

    // Stands in for the parts of the program that will carry out the result
    // commands, so that the result-state rules show.
    static void HandleResultCommands(CMainFrame& f) {
        for (int id : kNeedResult)
            f.SetCommandHandler(id, [] {});
    }

    // The commands that need a result as the rules say: the navigation
    // commands as `navigation`, the others as `others`; those in `greyed`
    // (without a handler) greyed.
    void ExpectResultCommands(CMainFrame& f, bool navigation, bool others,
                              std::initializer_list<int> greyed = {}) {
        for (int id : kNeedResult) {
            const bool nav = std::find(std::begin(kNavigation), std::end(kNavigation), id) !=
                             std::end(kNavigation);
            const bool on = std::find(greyed.begin(), greyed.end(), id) == greyed.end() &&
                            (nav ? navigation : others);
            QVERIFY2(f.Action(id)->isEnabled() == on, qPrintable(QString::number(id)));
            // The tool bar shows the same state.
            if (QWidget* b = f.toolBar()->widgetForAction(f.Action(id)))
                QCOMPARE(b->isEnabled(), on);
        }
    }

    // Runs New Search on a tree through the frame, pressing Done.
    void SearchThroughFrame(CMainFrame& f, const std::string& root) {
        dialog_ = [this, root](QWidget*) {
            state_->job = SearchJob{};
            state_->job.roots.Add(root);
            return true;
        };
        auto done = PressDoneWhenFinished();
        f.Action(cmd::NewSearch)->trigger();
        QVERIFY(done->done());
    }

    // A shown frame with its result commands handled, after a search that
    // found the two copies it made in `tree`.
    std::unique_ptr<CMainFrame> FrameWithTwoCopies(TempTree& tree) {
        auto f = MakeFrame();
        HandleResultCommands(*f);
        tree.createFile("x/a", "same content");
        tree.createFile("y/a", "same content");
        if (ShowAndActivate(*f))
            SearchThroughFrame(*f, tree.root());
        return f;
    }

private slots:
    void actionsExistWithTextsShortcutsAndInitialStates() {
        auto f = MakeFrame();
        QCOMPARE(f->windowTitle(), u"Paradrex"_s);
        for (const ExpectedAction& e : kExpected) {
            QAction* a = f->Action(e.id);
            QVERIFY2(a, qPrintable(QString::number(e.id)));
            QCOMPARE(a->data().toInt(), e.id);
            if (*e.text)
                QCOMPARE(a->text(), QString::fromUtf8(e.text));
            QCOMPARE(Sequence(a->shortcuts()), QString::fromUtf8(e.keys));
        }
        for (int id : {133, 136, 57665, 59392, 59393, 32948, 32949, 32834, 32801, 32799, 57664})
            QVERIFY2(f->Action(id)->isEnabled(), qPrintable(QString::number(id)));
        for (int id : kReviewKeys)
            QVERIFY2(f->Action(id)->isEnabled(), qPrintable(QString::number(id)));
        // Without a result.
        for (int id : kNeedResult)
            QVERIFY2(!f->Action(id)->isEnabled(), qPrintable(QString::number(id)));
        for (int id : {136, 59392, 59393, 32948})
            QVERIFY2(f->Action(id)->isChecked(), qPrintable(QString::number(id)));
        QVERIFY(!f->Action(cmd::OneListView)->isChecked());
        QVERIFY(!f->Action(cmd::Grid)->isChecked());
        QVERIFY(f->Action(cmd::Grid)->isCheckable());

        QCOMPARE(f->Action(cmd::NewSearch)->statusTip(),
                 u"Open the New Search Dialog, select directories, begin the new scan."_s);
        QCOMPARE(f->Action(cmd::NewSearch)->toolTip(), u"New Search (Ctrl+N)"_s);
        QCOMPARE(f->Action(cmd::ViewStatusBar)->toolTip(), u"Toggle StatusBar"_s);
        QCOMPARE(f->Action(cmd::OneListView)->statusTip(), u"Show search result on a listview"_s);

        // The frame posts itself New Search.
        QCOMPARE(dialogCalls_, 0);
        QTRY_COMPARE(dialogCalls_, 1);
    }

    void menusAndToolBarInTheirOrder() {
        auto f = MakeFrame();
        const QList<QAction*> top = f->menuBar()->actions();
        QCOMPARE(Entries(top), (QStringList{u"&Jobs"_s, u"Shortcut"_s, u"&Navigate"_s, u"&Tools"_s,
                                            u"&View"_s, u"&Help"_s}));
        auto items = [&](int i) { return Entries(top[i]->menu()->actions()); };
        QCOMPARE(items(0), (QStringList{u"&New Search...\tCtrl+N"_s, u"&Preview...\tCtrl+W"_s,
                                        u"&Delete Files Marked Cross..."_s, u"-"_s,
                                        u"&Save Result...\tCtrl+Shift+S"_s,
                                        u"Open &Result...\tCtrl+Shift+O"_s,
                                        u"Open &Last Result\tCtrl+Shift+L"_s, u"-"_s,
                                        u"&Group Set\tCtrl+G"_s, u"-"_s, u"E&xit\tAlt+F4"_s}));
        QVERIFY(items(1).isEmpty()); // until a pane has the focus
        QCOMPARE(items(2).size(), 8);
        QCOMPARE(items(2).first(), u"Next &Unsettled File\tCtrl+U"_s);
        QCOMPARE(items(2).last(), u"Next Name Not &Match\tCtrl+M"_s);
        QCOMPARE(items(3), (QStringList{u"Total &Statistics"_s, u"Re-&verify Result..."_s,
                                        u"&Options...\tCtrl+O"_s}));
        QCOMPARE(items(4),
                 (QStringList{u"&Toolbar"_s, u"&Status Bar"_s, u"-"_s, u"T&ree && List View"_s,
                              u"&One ListView"_s, u"-"_s, u"&Grid"_s}));
        QCOMPARE(items(5), (QStringList{u"User &Manual"_s, u"-"_s, u"&Home Page"_s,
                                        u"&About Paradrex..."_s}));

        QCOMPARE(ToolBarIds(f->toolBar()).join(u' '),
                 u"133 32802 137 | 136 | 32948 32949 | 135 32818 134 32828 32830 140 141 32921 | "
                 "32937 131 | 32799 57664 | 57665"_s);
        QCOMPARE(f->toolBar()->iconSize(), QSize(24, 24));
        for (QAction* a : f->toolBar()->actions()) {
            if (a->isSeparator())
                continue;
            QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
            QVERIFY(!a->icon().pixmap(16, 16).isNull());
        }
        auto* groupSet =
            qobject_cast<QToolButton*>(f->toolBar()->widgetForAction(f->Action(cmd::GroupSet)));
        QVERIFY(groupSet->isCheckable());
        QVERIFY(groupSet->isChecked());
        QTest::mouseClick(groupSet, Qt::LeftButton);
        QVERIFY(!f->Action(cmd::GroupSet)->isChecked());
        QVERIFY(!GroupSetSwitch::Instance().on());
        f->Action(cmd::GroupSet)->trigger();
        QVERIFY(GroupSetSwitch::Instance().on());
    }

    void statusBarShowsMenuHelpAndOtherwiseReady() {
        auto f = MakeFrame();
        QVERIFY(ShowAndActivate(*f));
        auto* ready = f->statusBar()->findChild<QLabel*>(u"readyText"_s);
        QVERIFY(ready);
        QCOMPARE(ready->text(), u"Ready"_s);
        QVERIFY(ready->isVisible());

        QMenu* jobs = f->menuBar()->actions().at(0)->menu();
        jobs->popup(f->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(jobs));
        const QRect item = jobs->actionGeometry(f->Action(cmd::NewSearch));
        QTest::mouseMove(jobs, item.center());
        QTRY_COMPARE(f->statusBar()->currentMessage(),
                     u"Open the New Search Dialog, select directories, begin the new scan."_s);
        QVERIFY(!ready->isVisible());
        jobs->hide();
        QTRY_COMPARE(f->statusBar()->currentMessage(), QString());
        QTRY_VERIFY(ready->isVisible());
    }

    void panesLayoutColumnsAndGridFromTheSettings() {
        MakeFrame().reset(); // a stored placement: the settings file exists
        auto f = OpenFrame([](_Setting_file& s) {
            s.layout.LVFile_size = 77;
            s.layout.LVSame_directory = 222;
            s.layout.LVOne_type = 99;
            s.layout.Grid = 1;
            s.layout.window_x = 10;
            s.layout.window_y = 20;
            s.layout.window_width = 1000;
            s.layout.window_height = 700;
        });
        QVERIFY(ShowAndActivate(*f));
        QCOMPARE(f->size(), QSize(1000, 700));
        QCOMPARE(f->folderBar()->caption(), u"Folders"_s);
        QVERIFY(f->folderBar()->captionHeight() >= 22);
        QCOMPARE(CFolderBarWindow::CaptionHeight(8), 22);
        QCOMPARE(CFolderBarWindow::CaptionHeight(15), 25);
        QCOMPARE(f->folderTree()->parentWidget(), static_cast<QWidget*>(f->folderBar()));
        QCOMPARE(f->folderTree()->geometry().top(), f->folderBar()->captionHeight());
        QCOMPARE(f->clientWindow(), static_cast<QWidget*>(f->verticalSplitter()));
        QVERIFY(!f->oneList()->isVisible());

        // A quarter of the width for the folders, three quarters of the height
        // for the file list.
        auto proportions = [&] {
            const QList<int> w = f->verticalSplitter()->sizes();
            const QList<int> h = f->horizontalSplitter()->sizes();
            return std::pair(double(w[0]) / (w[0] + w[1]), double(h[0]) / (h[0] + h[1]));
        };
        QTRY_VERIFY(std::abs(proportions().first - 0.25) < 0.02);
        QVERIFY(std::abs(proportions().second - 0.75) < 0.02);
        f->resize(1400, 900);
        QTRY_COMPARE(f->size(), QSize(1400, 900));
        QVERIFY(std::abs(proportions().first - 0.25) < 0.02);
        QVERIFY(std::abs(proportions().second - 0.75) < 0.02);

        auto titles = [](QTreeView* v) {
            QStringList out;
            for (int i = 0; i < v->model()->columnCount(); ++i)
                out << v->model()->headerData(i, Qt::Horizontal).toString();
            return out;
        };
        QCOMPARE(titles(f->fileList()),
                 (QStringList{QString(), u"Name"_s, u"Size"_s, u"Type"_s, u"Modified"_s}));
        QCOMPARE(titles(f->cloneList()),
                 (QStringList{QString(), u"Name"_s, u"Directory"_s, u"Modified"_s}));
        QCOMPARE(titles(f->oneList()), (QStringList{QString(), u"Name"_s, u"Directory"_s, u"Size"_s,
                                                    u"Type"_s, u"Modified"_s}));
        for (QTreeView* v : {f->fileList(), f->cloneList(), f->oneList()}) {
            QCOMPARE(v->header()->sectionSize(0), 21);
            QCOMPARE(v->header()->visualIndex(0), 0);
            QCOMPARE(v->header()->sectionResizeMode(0), QHeaderView::Fixed);
            QVERIFY(Grid(v));
        }
        QCOMPARE(f->fileList()->header()->sectionSize(1), 300);
        QCOMPARE(f->fileList()->header()->sectionSize(2), 77);
        QCOMPARE(f->cloneList()->header()->sectionSize(2), 222);
        QCOMPARE(f->oneList()->header()->sectionSize(4), 99);
        const auto sizeAlign =
            f->fileList()->model()->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole);
        QVERIFY(sizeAlign.value<Qt::Alignment>() & Qt::AlignRight);
        QVERIFY(f->Action(cmd::Grid)->isChecked());
    }

    void layoutSwitchingAndGrid() {
        TempTree tree;
        auto f = FrameWithTwoCopies(tree);
        ExpectResultCommands(*f, true, true);

        f->Action(cmd::OneListView)->trigger();
        QCOMPARE(f->clientWindow(), static_cast<QWidget*>(f->oneList()));
        QVERIFY(f->oneList()->isVisible());
        QVERIFY(!f->verticalSplitter()->isVisible());
        QCOMPARE(f->focusWidget(), static_cast<QWidget*>(f->oneList()));
        QVERIFY(f->Action(cmd::OneListView)->isChecked());
        QVERIFY(!f->Action(cmd::TreeListView)->isChecked());
        ExpectResultCommands(*f, false, true);
        // Choosing it again changes nothing and keeps the check mark.
        f->Action(cmd::OneListView)->trigger();
        QVERIFY(f->Action(cmd::OneListView)->isChecked());

        // The grid toggled here changes only the two hidden lists.
        QVERIFY(!Grid(f->fileList()));
        f->Action(cmd::Grid)->trigger();
        QVERIFY(Grid(f->fileList()));
        QVERIFY(Grid(f->cloneList()));
        QVERIFY(!Grid(f->oneList()));
        QVERIFY(f->Action(cmd::Grid)->isChecked());

        f->Action(cmd::TreeListView)->trigger();
        QCOMPARE(f->clientWindow(), static_cast<QWidget*>(f->verticalSplitter()));
        QCOMPARE(f->focusWidget(), static_cast<QWidget*>(f->fileList()));
        QVERIFY(f->Action(cmd::TreeListView)->isChecked());
        QVERIFY(!f->Action(cmd::OneListView)->isChecked());
        ExpectResultCommands(*f, true, true);

        // With an empty tree the navigation commands stay off.
        f->Action(cmd::OneListView)->trigger();
        f->panes()->Clear();
        f->Action(cmd::TreeListView)->trigger();
        ExpectResultCommands(*f, false, true);

        f->Action(cmd::Grid)->trigger();
        QVERIFY(!Grid(f->fileList()));
        QVERIFY(!f->Action(cmd::Grid)->isChecked());

        f->Action(cmd::ViewToolbar)->trigger();
        QVERIFY(!f->toolBar()->isVisible());
        QVERIFY(!f->Action(cmd::ViewToolbar)->isChecked());
        f->Action(cmd::ViewStatusBar)->trigger();
        QVERIFY(!f->statusBar()->isVisible());
        QVERIFY(!f->Action(cmd::ViewStatusBar)->isChecked());
        f->Action(cmd::ViewToolbar)->trigger();
        f->Action(cmd::ViewStatusBar)->trigger();
        QVERIFY(f->toolBar()->isVisible());
        QVERIFY(f->statusBar()->isVisible());
    }

    void tabMovesTheFocusBetweenThePanes() {
        auto f = MakeFrame();
        QVERIFY(ShowAndActivate(*f));
        QTRY_VERIFY(f->fileList()->hasFocus()); // given at creation
        QCOMPARE(f->FocusedPane(), FramePane::FileList);
        // The order itself is NextPane's; here the keys reach it.
        QTest::keyClick(f->fileList(), Qt::Key_Tab);
        QTRY_VERIFY(f->cloneList()->hasFocus());
        QTest::keyClick(f->cloneList(), Qt::Key_Tab);
        QTRY_VERIFY(f->folderTree()->hasFocus());
        QCOMPARE(f->FocusedPane(), FramePane::Tree);
        QTest::keyClick(f->folderTree(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(f->cloneList()->hasFocus());

        f->Action(cmd::OneListView)->trigger();
        QTRY_VERIFY(f->oneList()->hasFocus());
        QTest::keyClick(f->oneList(), Qt::Key_Tab);
        QVERIFY(f->oneList()->hasFocus());
    }

    void focusDependentAcceleratorsReachThePaneCommand() {
        auto f = MakeFrame();
        QVERIFY(ShowAndActivate(*f));
        QList<int> ran;
        for (int id : {32892, 32888, 32879, 32875, 32891, 32954, 32934})
            f->SetCommandHandler(id, [&ran, id] { ran << id; });
        auto press = [&](QWidget* pane, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
            pane->setFocus();
            QTRY_VERIFY(pane->hasFocus());
            QTest::keyClick(pane, key, mods);
        };
        // Which pane command each runs is FocusTarget's; here the keys reach
        // it with the focused pane.
        press(f->fileList(), Qt::Key_Insert);
        press(f->cloneList(), Qt::Key_Delete);
        press(f->folderTree(), Qt::Key_Insert);                // nothing in the tree
        press(f->fileList(), Qt::Key_Return, Qt::AltModifier); // nothing in the file list
        press(f->folderTree(), Qt::Key_Return, Qt::AltModifier);
        press(f->folderTree(), Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
        press(f->cloneList(), Qt::Key_Asterisk, Qt::ControlModifier | Qt::KeypadModifier);
        press(f->fileList(), Qt::Key_F2);
        press(f->cloneList(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(ran, (QList<int>{32892, 32888, 32879, 32875, 32891, 32954, 32934}));

        // Without a handler for the file list's command, Insert does nothing
        // there even though the clone list's has one.
        f->SetCommandHandler(32892, {});
        f->SetCommandHandler(32887, [&ran] { ran << 32887; });
        ran.clear();
        press(f->fileList(), Qt::Key_Insert);
        press(f->cloneList(), Qt::Key_Insert);
        QCOMPARE(ran, QList<int>{32887});
    }

    void paneMenuPlaceholderIsReplacedForTheFocusedPane() {
        auto f = MakeFrame();
        QCOMPARE(f->menuBar()->actions().at(1)->text(), u"Shortcut"_s);
        QVERIFY(ShowAndActivate(*f));
        // The file list has the focus at start.
        QTRY_COMPARE(f->menuBar()->actions().at(1)->text(), u"&File"_s);
        auto paneMenu = [&] { return f->menuBar()->actions().at(1)->menu(); };
        QCOMPARE(paneMenu(), f->contextMenus()->Popup(ContextPopup::File));
        f->cloneList()->setFocus();
        QTRY_COMPARE(f->menuBar()->actions().at(1)->text(), u"&Clone"_s);
        QCOMPARE(paneMenu(), f->contextMenus()->Popup(ContextPopup::Clone));
        QVERIFY(Entries(paneMenu()->actions()).contains(u"Paste &Name (Group)"_s));
        f->Action(cmd::OneListView)->trigger();
        QTRY_COMPARE(f->menuBar()->actions().at(1)->text(), u"&ListView"_s);
        QCOMPARE(paneMenu(), f->contextMenus()->Popup(ContextPopup::OneListView));
        f->Action(cmd::TreeListView)->trigger();
        f->folderTree()->setFocus();
        QTRY_COMPARE(f->menuBar()->actions().at(1)->text(), u"&Directory"_s);
        // The focus leaving the panes keeps the last one.
        f->menuBar()->setFocus();
        QTRY_VERIFY(f->menuBar()->hasFocus());
        QCOMPARE(f->menuBar()->actions().at(1)->text(), u"&Directory"_s);
        QCOMPARE(f->menuBar()->actions().size(), 6);
        QCOMPARE(f->menuBar()->actions().at(2)->text(), u"&Navigate"_s);
    }

    void searchWithDuplicatesEnablesTheResultCommands() {
        auto f = MakeFrame();
        HandleResultCommands(*f);
        QVERIFY(ShowAndActivate(*f));
        ExpectResultCommands(*f, false, false);
        f->Action(cmd::OneListView)->trigger();
        TempTree tree;
        tree.createFile("a/1.txt", "identical");
        tree.createFile("b/1.txt", "identical");
        tree.createFile("b/2.txt", "single");
        SearchThroughFrame(*f, tree.root());
        QVERIFY(state_->resultRoot != nullptr);
        QVERIFY2(f->clientWindow() == f->verticalSplitter(),
                 "a new search switches to the tree layout");
        ExpectResultCommands(*f, true, true);
        QCOMPARE(f->focusWidget(), static_cast<QWidget*>(f->fileList()));

        // The navigation accelerators reach their commands from the lists.
        QApplication::setActiveWindow(f.get());
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
        QList<int> ran;
        for (int id : {134, 32818, 32830, 32828, 135})
            f->SetCommandHandler(id, [&ran, id] { ran << id; });
        QTest::keyClick(f->fileList(), Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(f->fileList(), Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(f->cloneList(), Qt::Key_PageDown, Qt::ControlModifier);
        QTest::keyClick(f->folderTree(), Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(f->folderTree(), Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(ran, (QList<int>{134, 32818, 32830, 32828, 135}));

        // A cancelled New Search keeps the result.
        dialog_ = [](QWidget*) { return false; };
        f->Action(cmd::NewSearch)->trigger();
        ExpectResultCommands(*f, true, true);
        QVERIFY(state_->resultRoot != nullptr);
    }

    void commandsWithoutAHandlerStayGreyedWhateverTheResult() {
        auto f = MakeFrame();
        // Taken back, Preview and Delete Files Marked Cross have none.
        f->SetCommandHandler(cmd::Preview, {});
        f->SetCommandHandler(cmd::DeleteMarked, {});
        QVERIFY(ShowAndActivate(*f));
        TempTree tree;
        tree.createFile("a/1.txt", "identical");
        tree.createFile("b/1.txt", "identical");
        SearchThroughFrame(*f, tree.root());
        QVERIFY(state_->resultRoot != nullptr);
        for (int id : {cmd::Preview, cmd::DeleteMarked}) {
            QVERIFY2(!f->Action(id)->isEnabled(), qPrintable(QString::number(id)));
            if (QWidget* b = f->toolBar()->widgetForAction(f->Action(id)))
                QVERIFY2(!b->isEnabled(), qPrintable(QString::number(id)));
        }
        // The review commands the window carries out follow the result rules.
        ExpectResultCommands(*f, true, true, {cmd::Preview, cmd::DeleteMarked});
        // One call builds a command in: the result rules then decide, and
        // its keys reach it.
        QApplication::setActiveWindow(f.get());
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
        QList<int> ran;
        f->SetCommandHandler(cmd::Preview, [&ran] { ran << cmd::Preview; });
        f->SetCommandHandler(cmd::Options, [&ran] { ran << cmd::Options; });
        QVERIFY(f->Action(cmd::Preview)->isEnabled());
        QVERIFY(f->toolBar()->widgetForAction(f->Action(cmd::Preview))->isEnabled());
        QVERIFY(f->Action(cmd::Options)->isEnabled());
        QVERIFY(!f->Action(cmd::DeleteMarked)->isEnabled());
        QTest::keyClick(f->fileList(), Qt::Key_W, Qt::ControlModifier);
        QTest::keyClick(f->fileList(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(ran, (QList<int>{cmd::Preview, cmd::Options}));
        f->Action(cmd::OneListView)->trigger();
        // Navigation is off there, Total Statistics stays.
        ExpectResultCommands(*f, false, true, {cmd::DeleteMarked});
        QVERIFY(f->Action(cmd::Options)->isEnabled());
        f->SetCommandHandler(cmd::Options, {});
        QVERIFY(!f->Action(cmd::Options)->isEnabled());
    }

    // What a person sees after a search: the tree, the first group selected
    // with the keyboard in the file list, the colours of the settings, the
    // state images, and the whole result in the one list.
    void searchShowsTheResultInThePanes() {
        static constexpr Colour kBk1 = 0xF0FFFF, kBk2 = 0xFFE0D0, kBlock = 0xD0E0FF;
        auto f = MakeFrame([](_Setting_file& s) {
            s.color.clrTextBk1 = kBk1;
            s.color.clrTextBk2 = kBk2;
            s.color.clrTextBlock = kBlock;
            s.layout.Grid = 1;
        });
        QVERIFY(ShowAndActivate(*f));
        TempTree tree;
        // m: two clone-set blocks (with n and with o), then a run (r1..r4 with o/r5).
        tree.createFile("m/p.txt", "content p");
        tree.createFile("n/p.txt", "content p");
        tree.createFile("m/q.txt", "content q");
        tree.createFile("o/q.txt", "content q");
        for (const char* r : {"m/r1.dat", "m/r2.dat", "m/r3.dat", "m/r4.dat", "o/r5.dat"})
            tree.createFile(r, "content r");
        tree.createFile("deep/er/x.bin", "content x");
        tree.createFile("n/x.bin", "content x");
        tree.createFile("lonely/alone.txt", "alone");
        SearchThroughFrame(*f, tree.root());
        QVERIFY(state_->resultRoot);
        CResultPanes* panes = f->panes();

        // Every node in child-map order, the root with its whole path, only
        // directories with duplicates and those between.
        const CFolderTreeModel* tm = panes->treeModel();
        QCOMPARE(f->folderTree()->model(), static_cast<const QAbstractItemModel*>(tm));
        std::vector<QModelIndex> shown;
        for (QModelIndex i = tm->index(0, 0); i.isValid();) {
            shown.push_back(i);
            if (tm->rowCount(i) > 0) {
                f->folderTree()->expand(i);
                i = tm->index(0, 0, i);
                continue;
            }
            QModelIndex up = i;
            while (up.isValid() && !up.siblingAtRow(up.row() + 1).isValid())
                up = up.parent();
            i = up.isValid() ? up.siblingAtRow(up.row() + 1) : QModelIndex();
        }
        std::vector<ResultDir*> expected;
        for (ResultDir* d = NextInTreeOrder(state_->resultRoot.get()); d; d = NextInTreeOrder(d))
            expected.push_back(d);
        QCOMPARE(shown.size(), expected.size());
        QStringList names;
        for (size_t i = 0; i < shown.size(); ++i) {
            QCOMPARE(tm->DirectoryAt(shown[i]), expected[i]);
            names << tm->data(shown[i]).toString();
        }
        QCOMPARE(names.first(), QString::fromStdString(tree.root()));
        QCOMPARE(tm->rowCount(), 1);
        names.sort();
        QCOMPARE(names, (QStringList{QString::fromStdString(tree.root()), u"deep"_s, u"er"_s,
                                     u"m"_s, u"n"_s, u"o"_s}));

        // The first directory in tree order with duplicates and its first row,
        // the keyboard in the file list, the row's group in the clone list.
        ResultDir* first = NextInTreeOrder(state_->resultRoot.get());
        while (first && !HoldsDuplicates(*first))
            first = NextInTreeOrder(first);
        QVERIFY(first);
        QCOMPARE(panes->SelectedDirectory(), first);
        const QModelIndexList selectedNode = f->folderTree()->selectionModel()->selectedIndexes();
        QCOMPARE(selectedNode.size(), 1);
        QCOMPARE(tm->DirectoryAt(selectedNode.first()), first);
        const QModelIndexList selectedRows = f->fileList()->selectionModel()->selectedRows();
        QCOMPARE(selectedRows.size(), 1);
        QCOMPARE(selectedRows.first().row(), 0);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f->fileList()));
        CResultListModel* files = panes->listModel(ListKind::FileList);
        CResultListModel* clones = panes->listModel(ListKind::CloneList);
        const DuplicateGroup& group = GroupOf(panes->browser().fileRows()[0]);
        QCOMPARE(size_t(clones->rowCount()), group.size());
        for (int r = 0; r < clones->rowCount(); ++r)
            QCOMPARE(clones->FileAt(r), group[size_t(r)]);

        // Rows in the colours of the settings, each with its state image.
        panes->SelectDirectory(FindResultDir(state_->resultRoot.get(), tree.root() + "/m"));
        QCOMPARE(files->rowCount(), 6);
        auto colourOf = [](CResultListModel* m, int row) {
            return m->data(m->index(row, 1), Qt::BackgroundRole).value<QBrush>().color();
        };
        auto qcolour = [](Colour c) { return QColor::fromRgb(ToRgb(c)); };
        const Colour expectedRows[] = {kBk2, kBk1, kBlock, kBlock, kBlock, kBlock};
        for (int r = 0; r < 6; ++r)
            QCOMPARE(colourOf(files, r), qcolour(expectedRows[r]));
        CStateImages images;
        auto stateImage = [&](int row) {
            return files->data(files->index(row, 0), Qt::DecorationRole)
                .value<QIcon>()
                .pixmap(16)
                .toImage();
        };
        QCOMPARE(stateImage(2), images.Image(1).pixmap(16).toImage());
        // Painted: the run rows in their colour, the grid line at the cell's
        // edge, the state image in the state column.
        f->fileList()->setFocus();
        QTRY_VERIFY(f->fileList()->hasFocus());
        auto grab = [&] { return f->fileList()->viewport()->grab().toImage(); };
        const QRect type =
            f->fileList()->visualRect(files->index(2, files->ColumnOf(ListColumn::Type)));
        const QRect stateCell = f->fileList()->visualRect(files->index(2, 0));
        QImage shot = grab();
        QCOMPARE(shot.pixelColor(type.right() - 4, type.center().y()), qcolour(kBlock));
        QVERIFY(shot.pixelColor(type.right(), type.center().y()) != qcolour(kBlock));
        int drawn = 0;
        for (int y = stateCell.top(); y <= stateCell.bottom(); ++y)
            for (int x = stateCell.left(); x < stateCell.right(); ++x)
                drawn += shot.pixelColor(x, y).lightness() < 128;
        QVERIFY2(drawn > 10, "the empty box of an unsettled file");
        f->Action(cmd::Grid)->trigger();
        QCOMPARE(grab().pixelColor(type.right(), type.center().y()), qcolour(kBlock));

        // The one list holds every grouped file, groups in the colours of the
        // settings (the first three groups have two files each).
        panes->SelectFileRow(3);
        f->Action(cmd::OneListView)->trigger();
        CResultListModel* one = panes->listModel(ListKind::OneList);
        QCOMPARE(one->rowCount(), 2 + 2 + 2 + 5);
        QCOMPARE(one->FileAt(0), ResultGroups(*state_).begin()->front());
        QCOMPARE(colourOf(one, 0), qcolour(kBk2));
        QCOMPARE(colourOf(one, 2), qcolour(kBk1));
        QVERIFY(Grid(f->oneList())); // as at start

        // A mark made in the one list shows in the file list after switching
        // back, where the selection stayed.
        QSignalSpy repainted(files, &QAbstractItemModel::dataChanged);
        files->FileAt(3)->state = FileState::Preserved;
        f->Action(cmd::TreeListView)->trigger();
        QVERIFY(!repainted.isEmpty());
        QCOMPARE(stateImage(3), images.Image(2).pixmap(16).toImage());
        QCOMPARE(panes->SelectedFileRow(), std::optional<int>(3));
        QCOMPARE(clones->rowCount(), 5); // the whole run group
        f->Action(cmd::OneListView)->trigger();
        QCOMPARE(one->rowCount(), 11); // filled once
        f->Action(cmd::TreeListView)->trigger();

        // Changed colours refill the file list and keep its selection.
        settings_->color.clrTextBk1 = 0x00FF00u;
        f->ApplyColours();
        QCOMPARE(colourOf(files, 1), QColor(0x00, 0xFF, 0x00));
        QCOMPARE(panes->SelectedFileRow(), std::optional<int>(3));
    }

    void listStyleComesFromTheSettingsAndSwitchesAtRunTime() {
        auto f = MakeFrame([](_Setting_file& s) {
            s.interfaceStyle.ListViewStyle = 0;
            s.layout.Grid = 1;
        });
        for (QTreeView* v : {f->fileList(), f->cloneList(), f->oneList()})
            QVERIFY(qobject_cast<HV::CCustomDrawStandardListView*>(v->itemDelegate()));
        f->ApplyListStyle(1);
        for (QTreeView* v : {f->fileList(), f->cloneList(), f->oneList()}) {
            QVERIFY(qobject_cast<HV::CCustomDrawVistaListView*>(v->itemDelegate()));
            QVERIFY(Grid(v));
        }
    }

    void searchWithoutDuplicatesSaysAllFilesAreUnique() {
        TempTree dup;
        auto f = FrameWithTwoCopies(dup);
        ExpectResultCommands(*f, true, true);

        TempTree tree;
        tree.createFile("a", "one");
        tree.createFile("b", "two!");
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool greyedWhileShown = false;
        Poller box([&] {
            auto* m = VisibleTopLevel<QMessageBox>();
            if (!m)
                return false;
            title = m->windowTitle();
            text = m->text();
            icon = m->icon();
            greyedWhileShown = !f->Action(cmd::DeleteMarked)->isEnabled();
            m->accept();
            return true;
        });
        SearchThroughFrame(*f, tree.root());
        QVERIFY(box.done());
        QCOMPARE(title, u"Confirm"_s);
        QCOMPARE(text, u"All files are unique!"_s);
        QCOMPARE(icon, QMessageBox::Information);
        QVERIFY(greyedWhileShown);
        ExpectResultCommands(*f, false, false);
        QVERIFY(state_->resultRoot == nullptr);
    }

    void stoppedSearchShowsNothingAndGreysTheResultCommands() {
        TempTree tree;
        auto f = FrameWithTwoCopies(tree);
        ExpectResultCommands(*f, true, true);

        // The worker waits before it starts until Stop was pressed.
        auto go = std::make_shared<std::promise<void>>();
        std::shared_future<void> started = go->get_future().share();
        f->SetWorkerStarter([started](std::function<void()> body) {
            return std::thread([started, body] {
                started.wait();
                body();
            });
        });
        Poller stop([&] {
            auto* run = VisibleTopLevel<CRunDialog>();
            if (!run)
                return false;
            run->findChild<QPushButton*>(u"id1017"_s)->click();
            go->set_value();
            return true;
        });
        bool anyBox = false;
        Poller noBox([&] {
            anyBox = anyBox || VisibleTopLevel<QMessageBox>() != nullptr;
            return false;
        });
        dialog_ = [this, root = tree.root()](QWidget*) {
            state_->job = SearchJob{};
            state_->job.roots.Add(root);
            return true;
        };
        f->Action(cmd::NewSearch)->trigger();
        QVERIFY(stop.done());
        QVERIFY(!anyBox);
        QVERIFY(state_->resultRoot == nullptr);
        ExpectResultCommands(*f, false, false);
    }

    void failedWorkerStartReturnsToTheWindow() {
        TempTree tree;
        auto f = FrameWithTwoCopies(tree);
        QVERIFY(state_->resultRoot != nullptr);
        f->SetWorkerStarter([](std::function<void()>) -> std::thread {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        });
        QString text;
        Poller box([&] {
            auto* m = VisibleTopLevel<QMessageBox>();
            if (!m)
                return false;
            text = m->windowTitle() + u": "_s + m->text();
            m->accept();
            return true;
        });
        f->Action(cmd::NewSearch)->trigger();
        QCOMPARE(text, u"Error: _beginthreadex failed."_s);
        QVERIFY(f->isVisible());
        QVERIFY2(state_->resultRoot == nullptr, "the old result went with its panes");
        ExpectResultCommands(*f, false, false);
    }

    void placementColumnWidthsAndGridAreStoredAtClose() {
        auto f = MakeFrame();
        QVERIFY(ShowAndActivate(*f));
        f->setGeometry(30, 40, 900, 650);
        QTRY_COMPARE(f->geometry(), QRect(30, 40, 900, 650));
        f->fileList()->header()->resizeSection(1, 123);
        f->fileList()->header()->resizeSection(4, 45);
        f->cloneList()->header()->resizeSection(2, 321);
        f->oneList()->header()->resizeSection(5, 88);
        f->Action(cmd::Grid)->trigger();
        f->Action(cmd::Exit)->trigger();
        QVERIFY(!f->isVisible());
        const auto& l = settings_->layout;
        QCOMPARE(l.window_x.value, 30);
        QCOMPARE(l.window_y.value, 40);
        QCOMPARE(l.window_width.value, 900);
        QCOMPARE(l.window_height.value, 650);
        QCOMPARE(l.window_showcmd.value, 1u);
        QCOMPARE(l.LVFile_name.value, 123);
        QCOMPARE(l.LVFile_size.value, 100);
        QCOMPARE(l.LVFile_modified.value, 45);
        QCOMPARE(l.LVSame_directory.value, 321);
        QCOMPARE(l.LVOne_modified.value, 88);
        QCOMPARE(l.Grid.value, 1);

        // Written to Setting.ini when the store goes away.
        f.reset();
        settings_.reset();
        const auto reread = _Setting_file::ReadOnly(settingsDir_->path().toStdString());
        QCOMPARE(reread.layout.LVFile_name.value, 123);
        QCOMPARE(reread.layout.window_width.value, 900);

        // The next start shows them again, the grid in all three lists.
        f = OpenFrame();
        QCOMPARE(f->panes()->ColumnWidths(ListKind::FileList),
                 (std::vector<int>{123, 100, 120, 45}));
        QCOMPARE(f->panes()->ColumnWidths(ListKind::CloneList), (std::vector<int>{200, 321, 120}));
        QCOMPARE(f->panes()->ColumnWidths(ListKind::OneList),
                 (std::vector<int>{200, 300, 100, 120, 88}));
        for (QTreeView* v : {f->fileList(), f->cloneList(), f->oneList()})
            QVERIFY(Grid(v));
        QVERIFY(f->Action(cmd::Grid)->isChecked());
        f->Action(cmd::Grid)->trigger();
        f->Action(cmd::Exit)->trigger();
        f.reset();
        f = OpenFrame();
        for (QTreeView* v : {f->fileList(), f->cloneList(), f->oneList()})
            QVERIFY(!Grid(v));
        QVERIFY(!f->Action(cmd::Grid)->isChecked());
    }

    // A first start (no Setting.ini) centres the window's frame on the screen,
    // so its title bar is on the screen; a stored placement is taken exactly.
    void firstStartCentresTheWindow() {
        auto f = MakeFrame();
        QVERIFY(!settings_->fileExisted());
        f->ShowAtStart();
        QCOMPARE(f->size(), QSize(800, 600));
        const QRect screen = f->screen()->availableGeometry();
        QVERIFY(screen.contains(f->frameGeometry().topLeft()));
        const QPoint offCentre = f->frameGeometry().center() - screen.center();
        QVERIFY2(offCentre.manhattanLength() <= 40,
                 qPrintable(u"%1,%2"_s.arg(offCentre.x()).arg(offCentre.y())));
        f->Action(cmd::Exit)->trigger();
        f = OpenFrame([](_Setting_file& s) {
            s.layout.window_x = 30;
            s.layout.window_y = 40;
            s.layout.window_width = 700;
            s.layout.window_height = 500;
        });
        QVERIFY(settings_->fileExisted());
        f->ShowAtStart();
        QTRY_COMPARE(f->geometry(), QRect(30, 40, 700, 500));
    }

    // A first start reads the default programs of the file context menu from
    // the desktop's files: no program runs before New Search is shown.
    void firstStartRunsNoProgramBeforeNewSearch() {
        TempTree desktop;
        desktop.createFile("config/mimeapps.list",
                           "[Default Applications]\ntext/plain=ed.desktop\n");
        desktop.createFile("data/applications/ed.desktop", "[Desktop Entry]\nExec=/bin/ed %f\n");
        for (const char* name : {"xdg-mime", "gio", "xdg-open", "mimeopen", "sh", "bash"}) {
            desktop.createFile(std::string("bin/") + name,
                               "#!/bin/sh\necho \"$0\" >>'" + desktop.path("ran") + "'\n");
            desktop.chmod(std::string("bin/") + name, 0755);
        }
        EnvOverride path("PATH", desktop.path("bin"));
        EnvOverride configHome("XDG_CONFIG_HOME", desktop.path("config"));
        EnvOverride dataDirs("XDG_DATA_DIRS", desktop.path("data"));

        auto f = MakeFrame();
        f.reset();
        settings_.reset();
        QFile::remove(settingsDir_->filePath(u"Setting.ini"_s));
        settings_ = std::make_unique<_Setting_file>(
            settingsDir_->path().toStdString(),
            _Setting_file::Options{_Setting_file::Access::ReadWrite, true});
        f = std::make_unique<CMainFrame>(*settings_, *state_, [this](QWidget*) {
            ++dialogCalls_;
            return false;
        });
        f->ShowAtStart();
        QTRY_COMPARE(dialogCalls_, 1);
        QCOMPARE(settings_->fileContextMenu.rows[0].Command.value, std::string("/bin/ed"));
        QVERIFY2(!desktop.exists("ran"),
                 desktop.exists("ran") ? desktop.readFile("ran").c_str() : "");
    }

    void maximisedWindowKeepsItsNormalRectangle() {
        // A stored placement: the settings file exists.
        MakeFrame().reset();
        auto f = OpenFrame([](_Setting_file& s) {
            s.layout.window_showcmd = 3u;
            s.layout.window_x = 50;
            s.layout.window_y = 60;
            s.layout.window_width = 640;
            s.layout.window_height = 480;
        });
        QVERIFY(ShowAndActivate(*f));
        QTRY_VERIFY(f->isMaximized());
        QTest::keyClick(f.get(), Qt::Key_F4, Qt::AltModifier);
        QTRY_VERIFY(!f->isVisible());
        const auto& l = settings_->layout;
        QCOMPARE(l.window_showcmd.value, 3u);
        QCOMPARE(
            QRect(l.window_x.value, l.window_y.value, l.window_width.value, l.window_height.value),
            QRect(50, 60, 640, 480));
    }

    void userManualAndHomePageOpenTheirAddresses() {
        auto f = MakeFrame();
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(u"file"_s, &recorder, "open");
        QDesktopServices::setUrlHandler(u"https"_s, &recorder, "open");
        f->Action(cmd::UserManual)->trigger();
        f->Action(cmd::HomePage)->trigger();
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QDesktopServices::unsetUrlHandler(u"https"_s);
        QCOMPARE(recorder.urls.size(), 2);
        const QString manual = recorder.urls[0].toLocalFile();
        QVERIFY2(manual.endsWith(u"/Help/index.htm"_s), qPrintable(manual));
        QVERIFY2(QFileInfo::exists(manual), qPrintable(manual));
        QCOMPARE(recorder.urls[1], QUrl(CMainFrame::HomePageAddress()));
        // Without a home page of its own the build's Home Page opens the
        // manual.
        if (!HomePageConfigured(PARADREX_HOME_PAGE))
            QCOMPARE(recorder.urls[1], recorder.urls[0]);
        QVERIFY(!CMainFrame::HomePageAddress().isEmpty());
    }

    // Without a window manager nothing else gives the keyboard back to the
    // window once a dialog it opened has closed.
    void closedDialogGivesTheKeyboardBackToItsWindow() {
        auto f = MakeFrame();
        QVERIFY(ShowAndActivate(*f));
        QDialog outer(f.get());
        outer.open();
        QApplication::setActiveWindow(&outer);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&outer));
        QDialog inner(&outer);
        inner.open();
        QApplication::setActiveWindow(&inner);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&inner));
        inner.accept();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&outer));
        outer.accept();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(f.get()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(!f->Action(cmd::GroupSet)->isChecked());
    }

    void withoutADesktopThemeFileTypeIconsComeFromBreeze() {
        const QString before = QIcon::themeName();
        if (!before.isEmpty() && before != u"hicolor"_s)
            QSKIP("the platform already has an icon theme");
        if (!QFileInfo::exists(u"/usr/share/icons/breeze/index.theme"_s))
            QSKIP("breeze-icon-theme is not installed");
        QCOMPARE(EnsureIconTheme(), u"breeze"_s);
        QVERIFY(QIcon::themeSearchPaths().contains(u"/usr/share/icons"_s));
        QVERIFY(!QIcon::fromTheme(u"text-plain"_s).isNull());
        QVERIFY(!QIcon::fromTheme(u"image-jpeg"_s).isNull());
        QCOMPARE(EnsureIconTheme(), u"breeze"_s); // a chosen theme stays
    }

    void menuStyleOutsideZeroAndOneDrawsAsZero() {
        for (int stored : {2, -1}) {
            auto f = MakeFrame([stored](_Setting_file& s) { s.interfaceStyle.MenuStyle = stored; });
            QVERIFY(ShowAndActivate(*f));
            QVERIFY(f->menuBar()->isVisible());
            QVERIFY(!f->menuStyle());
            QCOMPARE(f->menuBar()->style(), QApplication::style());
            f->fileList()->setFocus();
            QTest::keyClick(f.get(), Qt::Key_G, Qt::ControlModifier);
            QVERIFY(!f->Action(cmd::GroupSet)->isChecked());
            // The stored value stays until a style is chosen.
            f.reset();
            QCOMPARE(settings_->interfaceStyle.MenuStyle.value, stored);
        }
    }

    // The menus, the context menus and the tool bar take the XP style and
    // give it back; every command keeps its action, its shortcut and its
    // place, and the tool bar stays on a row of its own.
    void menuStyleSwitchesAtRunTime() {
        auto f = MakeFrame([](_Setting_file& s) { s.interfaceStyle.MenuStyle = 0; });
        QVERIFY(ShowAndActivate(*f));
        const QStringList menus = Entries(f->menuBar()->actions());
        const QString toolBar = ToolBarIds(f->toolBar()).join(u' ');
        std::map<int, QString> keys;
        for (const ExpectedAction& e : kExpected)
            keys[e.id] = Sequence(f->Action(e.id)->shortcuts());
        auto styled = [&f](QStyle* style) {
            QList<QWidget*> widgets{f->menuBar(), f->toolBar()};
            for (QToolButton* b : f->toolBar()->findChildren<QToolButton*>())
                widgets << b;
            for (QMenu* m : f->findChildren<QMenu*>())
                widgets << m;
            widgets << f->contextMenus()->Popup(ContextPopup::FileSel)
                    << f->contextMenus()->openSubmenu();
            for (QWidget* w : widgets)
                if (w->style() != style)
                    return false;
            return true;
        };
        auto checkCommands = [&] {
            QCOMPARE(Entries(f->menuBar()->actions()), menus);
            QCOMPARE(ToolBarIds(f->toolBar()).join(u' '), toolBar);
            for (const ExpectedAction& e : kExpected)
                QCOMPARE(Sequence(f->Action(e.id)->shortcuts()), keys[e.id]);
            // The tool bar below the menu bar, alone on its row.
            QCOMPARE(f->toolBarArea(f->toolBar()), Qt::TopToolBarArea);
            QVERIFY(f->toolBar()->isVisible());
            QTRY_VERIFY2(f->toolBar()->geometry().top() > f->menuBar()->geometry().bottom(),
                         qPrintable(u"%1 %2"_s.arg(f->toolBar()->geometry().top())
                                        .arg(f->menuBar()->geometry().bottom())));
            QVERIFY(f->toolBar()->width() >= f->centralWidget()->width());
            // A few commands by their keys.
            f->fileList()->setFocus();
            QTRY_VERIFY(f->fileList()->hasFocus());
            const bool groupSet = f->Action(cmd::GroupSet)->isChecked();
            QTest::keyClick(f->fileList(), Qt::Key_G, Qt::ControlModifier);
            QCOMPARE(f->Action(cmd::GroupSet)->isChecked(), !groupSet);
            QTest::keyClick(f->fileList(), Qt::Key_G, Qt::ControlModifier);
            QCOMPARE(f->Action(cmd::GroupSet)->isChecked(), groupSet);
            const int before = dialogCalls_;
            QTest::keyClick(f->fileList(), Qt::Key_N, Qt::ControlModifier);
            QCOMPARE(dialogCalls_, before + 1);
            f->Action(cmd::OneListView)->trigger();
            QVERIFY(f->oneList()->isVisible());
            f->Action(cmd::TreeListView)->trigger();
            QVERIFY(f->fileList()->isVisible());
        };
        QTRY_COMPARE(dialogCalls_, 1); // the New Search of the start
        QVERIFY(!f->menuStyle());
        QVERIFY(styled(QApplication::style()));
        checkCommands();
        // A menu shown before the switch is styled as well.
        QMenu* jobs = f->menuBar()->actions().at(0)->menu();
        jobs->popup(f->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(jobs));
        jobs->hide();

        f->ApplyMenuStyle(1);
        QVERIFY(f->menuStyle());
        QVERIFY(styled(f->menuStyle()));
        QCOMPARE(f->menuStyle()->objectName(), u"OfficeXPStyle"_s);
        checkCommands();
        jobs->popup(f->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(jobs));
        QTest::keyClick(jobs, Qt::Key_Escape);
        QTRY_VERIFY(!jobs->isVisible());
        f->ApplyMenuStyle(1); // no change
        QVERIFY(styled(f->menuStyle()));

        f->ApplyMenuStyle(0);
        QVERIFY(!f->menuStyle());
        QVERIFY(styled(QApplication::style()));
        checkCommands();
        f->ApplyMenuStyle(1);
        QVERIFY(styled(f->menuStyle()));
        checkCommands();
    }

    // The scheme is the palette's: a new system palette gives new colours.
    void menuStyleFollowsThePalette() {
        auto f = MakeFrame([](_Setting_file& s) { s.interfaceStyle.MenuStyle = 1; });
        QVERIFY(f->menuStyle());
        const QPalette before = QApplication::palette();
        QPalette changed = before;
        changed.setColor(QPalette::Highlight, QColor(200, 0, 0));
        QApplication::setPalette(changed);
        const Colour border = f->menuStyle()->theme().scheme()[XPColour::Border];
        QApplication::setPalette(before);
        QCOMPARE(border, MakeColour(200, 0, 0));
        QCOMPARE(f->menuStyle()->theme().scheme()[XPColour::Border],
                 HV::FromQColor(before.color(QPalette::Highlight)));
    }
};

PARADREX_QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
