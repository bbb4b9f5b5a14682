#include "gui/mainwnd/CMainFrame.h"

#include "engine/SearchState.h"
#include "gui/HelpLocations.h"
#include "gui/QtBytes.h"
#include "gui/dialogs/CAboutDlg.h"
#include "gui/dialogs/COptionDlg.h"
#include "gui/dialogs/CRunDialog.h"
#include "gui/mainwnd/CContextMenus.h"
#include "gui/mainwnd/CDeleteCommands.h"
#include "gui/mainwnd/CDialogFocusReturn.h"
#include "gui/mainwnd/CFolderBarWindow.h"
#include "gui/mainwnd/CNameCommands.h"
#include "gui/mainwnd/CResultFileCommands.h"
#include "gui/mainwnd/CReviewCommands.h"
#include "gui/mainwnd/NewSearchDialog.h"
#include "gui/panes/CFolderTreeModel.h"
#include "gui/panes/CResultPanes.h"
#include "gui/styles/COfficeXPStyle.h"
#include "review/GroupSetSwitch.h"
#include "settings/SettingFile.h"
#include "uimodel/CommandTable.h"
#include "uimodel/ContextMenuTable.h"
#include "uimodel/PaneSettings.h"
#include "uimodel/RunProgress.h"
#include "uimodel/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include <vector>

using namespace paradrex;

// The icons are compiled into the static GUI library, whose resource
// initialiser the linker would otherwise leave out.
static void InitFrameResources() {
    Q_INIT_RESOURCE(mainframe);
}

CMainFrame::CMainFrame()
    : CMainFrame(_Setting_file::Instance(), SearchState::Instance(), RunNewSearchDialog) {}

CMainFrame::CMainFrame(_Setting_file& settings, SearchState& state, NewSearchDialog newSearchDialog,
                       QWidget* parent)
    : QMainWindow(parent), settings_(settings), state_(state),
      newSearchDialog_(std::move(newSearchDialog)), commands_(PaneSettingsOf(settings).grid) {
    InitFrameResources();
    setWindowTitle(QStringLiteral("Paradrex"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/paradrex.svg")));
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreatePanes();
    RegisterHandlers();
    ApplyMenuStyle(settings_.interfaceStyle.MenuStyle.value);
    new CDialogFocusReturn(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    fileList()->setFocus();
    // The New Search dialog opens as soon as the event loop runs.
    QMetaObject::invokeMethod(
        this, [this] { Action(cmd::NewSearch)->trigger(); }, Qt::QueuedConnection);
}

CMainFrame::~CMainFrame() {
    StoreLayout();
    // The panes go before this object stops listening; a focus change while
    // the widgets are torn down must not ask them for anything.
    disconnect(qApp, nullptr, this, nullptr);
}

void CMainFrame::CreateActions() {
    auto make = [this](int id, const QString& text) {
        auto* a = new QAction(text, this);
        a->setData(id);
        a->setObjectName(QStringLiteral("cmd%1").arg(id));
        a->setCheckable(FrameCommands::IsCheckable(id));
        a->setStatusTip(Utf8Text(res::StatusTextOf(id)));
        a->setToolTip(Utf8Text(res::ToolTipOf(id)));
        addAction(a); // accelerators work even without a menu bar
        connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
        actions_[id] = a;
    };
    for (const res::MenuText& m : res::kMenuTexts)
        make(m.id, Utf8Text(m.text));
    // The commands of the panes' context menus, with the text of their first
    // popup (the popups show their own), and those with only an accelerator.
    for (const res::ContextPopupTable& popup : res::kContextMenu)
        for (const res::PopupItem& item : popup.items)
            if (item.id > 0 && !Action(item.id))
                make(item.id, Utf8Text(item.text));
    for (const res::Accelerator& a : res::kAccelerators)
        if (!Action(a.id))
            make(a.id, QString());
    for (const res::CommandIcon& i : res::kCommandIcons)
        actions_.at(i.id)->setIcon(
            QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(i.name))));
    std::map<int, QList<QKeySequence>> keys;
    for (const res::Accelerator& a : res::kAccelerators)
        keys[a.id].append(
            QKeySequence::fromString(QLatin1String(a.keys), QKeySequence::PortableText));
    for (auto& [id, sequences] : keys)
        actions_.at(id)->setShortcuts(sequences);
}

// The commands this window carries out itself; the others get their handler
// from the part of the program that builds them.
void CMainFrame::RegisterHandlers() {
    SetCommandHandler(cmd::NewSearch, [this] { NewSearch(); });
    SetCommandHandler(cmd::Exit, [this] { close(); });
    SetCommandHandler(cmd::GroupSet, [] { GroupSetSwitch::Instance().Flip(); });
    SetCommandHandler(cmd::ViewToolbar, [this] { ToggleToolbar(); });
    SetCommandHandler(cmd::ViewStatusBar, [this] { ToggleStatusBar(); });
    SetCommandHandler(cmd::TreeListView, [this] { SwitchToTreeAndList(); });
    SetCommandHandler(cmd::OneListView, [this] { SwitchToOneList(); });
    SetCommandHandler(cmd::Grid, [this] { ToggleGrid(); });
    SetCommandHandler(cmd::UserManual,
                      [] { QDesktopServices::openUrl(QUrl::fromLocalFile(UserManualPath())); });
    SetCommandHandler(cmd::HomePage, [] { QDesktopServices::openUrl(QUrl(HomePageAddress())); });
    SetCommandHandler(cmd::About, [this] { ShowAbout(); });
    SetCommandHandler(cmd::Options, [this] { ShowOptions(); });
    // Marking, navigation, statistics and the file manager.
    new CReviewCommands(*this);
    // Renaming and restoring names.
    new CNameCommands(*this, state_.recordPool);
    // Preview and Delete Files Marked Cross.
    new CDeleteCommands(*this, settings_.deleteOption, state_);
    // The panes' popups and the "Open" submenu's commands.
    contextMenus_ = new CContextMenus(*this, settings_.fileContextMenu);
    // Saving the result, reopening it, keeping it at close, re-verifying it.
    new CResultFileCommands(*this, state_);
}

void CMainFrame::RebuildOpenSubmenu() {
    contextMenus_->RebuildOpenSubmenu();
}

void CMainFrame::CreateMenus() {
    for (size_t p = 0; p < std::size(res::kMainMenu); ++p) {
        const res::Popup& popup = res::kMainMenu[p];
        QMenu* menu = menuBar()->addMenu(Utf8Text(popup.title));
        for (int id : popup.items) {
            if (id == res::kSeparator)
                menu->addSeparator();
            else
                menu->addAction(actions_.at(id));
        }
        if (static_cast<int>(p) == res::kPaneMenuPosition)
            paneMenu_ = menu;
    }
}

void CMainFrame::CreateToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("toolbar"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    for (int id : res::kToolBar) {
        if (id == res::kSeparator) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = actions_.at(id);
        toolBar_->addAction(a);
        // Commands whose string has no tool tip part show none.
        if (res::ToolTipOf(id).empty())
            toolBar_->widgetForAction(a)->installEventFilter(this);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::CreateStatusBar() {
    readyLabel_ = new QLabel(Utf8Text(res::StatusTextOf(cmd::ReadyText)), this);
    readyLabel_->setObjectName(QStringLiteral("readyText"));
    // A normal widget: menu help texts and other messages cover it and it
    // shows again when they are cleared.
    statusBar()->addWidget(readyLabel_, 1);
}

void CMainFrame::CreatePanes() {
    client_ = new QStackedWidget(this);
    setCentralWidget(client_);
    panes_ = new CResultPanes(client_, PaneSettingsOf(settings_));

    vSplitter_ = new QSplitter(Qt::Horizontal, client_);
    vSplitter_->setObjectName(QStringLiteral("verticalSplitter"));
    vSplitter_->setChildrenCollapsible(false);
    folderBar_ = new CFolderBarWindow(vSplitter_);
    folderBar_->SetClient(folderTree());

    hSplitter_ = new QSplitter(Qt::Vertical, vSplitter_);
    hSplitter_->setObjectName(QStringLiteral("horizontalSplitter"));
    hSplitter_->setChildrenCollapsible(false);
    hSplitter_->addWidget(fileList());
    hSplitter_->addWidget(cloneList());

    vSplitter_->addWidget(folderBar_);
    vSplitter_->addWidget(hSplitter_);
    vSplitter_->setStretchFactor(0, 1);
    vSplitter_->setStretchFactor(1, 3);
    hSplitter_->setStretchFactor(0, 3);
    hSplitter_->setStretchFactor(1, 1);

    client_->addWidget(vSplitter_);
    client_->addWidget(oneList());
    client_->setCurrentWidget(vSplitter_);
    vSplitter_->installEventFilter(this);
    for (QWidget* view : {folderTree(), fileList(), cloneList(), oneList()})
        view->installEventFilter(this);
}

QTreeView* CMainFrame::folderTree() const {
    return panes_->folderTree();
}

QTreeView* CMainFrame::fileList() const {
    return panes_->fileList();
}

QTreeView* CMainFrame::cloneList() const {
    return panes_->cloneList();
}

QTreeView* CMainFrame::oneList() const {
    return panes_->oneList();
}

QWidget* CMainFrame::clientWindow() const {
    return client_->currentWidget();
}

QAction* CMainFrame::Action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::SetCommandHandler(int id, std::function<void()> handler) {
    commands_.SetHandled(id, static_cast<bool>(handler));
    if (handler)
        handlers_[id] = std::move(handler);
    else
        handlers_.erase(id);
    SyncActions();
}

void CMainFrame::SetPaneMenu(QMenu* popup) {
    if (!popup || popup == paneMenu_)
        return;
    QAction* old = paneMenu_->menuAction();
    menuBar()->insertMenu(old, popup);
    menuBar()->removeAction(old);
    paneMenu_ = popup;
}

FramePane CMainFrame::FocusedPane() const {
    return panes_->PaneOf(QApplication::focusWidget());
}

void CMainFrame::OnFocusChanged(QWidget*) {
    contextMenus_->FocusMovedTo(FocusedPane());
}

void CMainFrame::ApplyMenuStyle(int style) {
    const bool xp = MenuStyleOf(style) == MenuStyle::OfficeXP;
    if (xp == static_cast<bool>(xpStyle_))
        return;
    // The widgets let go of the old style (its unpolish) before it goes.
    std::unique_ptr<HV::COfficeXPStyle> old = std::move(xpStyle_);
    if (xp)
        xpStyle_ = std::make_unique<HV::COfficeXPStyle>();
    QStyle* drawing = xpStyle_.get(); // null: the application's style
    QList<QWidget*> bars{menuBar(), toolBar_};
    bars += menuBar()->findChildren<QWidget*>();
    bars += toolBar_->findChildren<QWidget*>();
    for (QMenu* menu : findChildren<QMenu*>())
        if (!bars.contains(menu))
            bars << menu;
    for (QWidget* w : bars)
        w->setStyle(drawing);
    menuBar()->updateGeometry();
    toolBar_->updateGeometry();
}

void CMainFrame::ApplyListStyle(int style) {
    panes_->SetListStyle(ListStyleOf(style));
}

void CMainFrame::ApplyColours() {
    panes_->SetColours(PaneSettingsOf(settings_).colours);
    panes_->RefillFileList();
}

// Every setting the sheet changed takes effect at once, in this order.
void CMainFrame::ShowOptions() {
    COptionDlg sheet(this, settings_, panes_->typeCache());
    if (sheet.exec() != QDialog::Accepted)
        return;
    const OptionSheet::Changes& changed = sheet.changes();
    if (changed.fileContextMenu)
        RebuildOpenSubmenu();
    if (changed.menuStyle)
        ApplyMenuStyle(settings_.interfaceStyle.MenuStyle.value);
    if (changed.listStyle)
        ApplyListStyle(settings_.interfaceStyle.ListViewStyle.value);
    if (changed.colours)
        ApplyColours();
}

QString CMainFrame::HomePageAddress() {
    return ::HomePageAddress();
}

QString CMainFrame::UserManualPath() {
    return ::UserManualPath();
}

void CMainFrame::ShowAtStart() {
    std::vector<WindowRect> screens;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect r = s->availableGeometry();
        screens.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    const StartGeometry start =
        StartGeometryOf(NormalRect(settings_.layout), settings_.fileExisted(), screens);
    const WindowRect& r = start.rect;
    if (start.stored) {
        setGeometry(r.x, r.y, r.width, r.height);
    } else {
        resize(r.width, r.height);
        move(r.x, r.y); // the frame's place
    }
    if (OpensMaximized(settings_.layout))
        showMaximized();
    else
        show();
}

void CMainFrame::RunCommand(int id) {
    // A focus-dependent accelerator runs the command of the focused pane.
    const int target = FocusTarget(id, FocusedPane());
    auto it = handlers_.find(target);
    if (it != handlers_.end() && commands_.Enabled(target)) {
        // A copy: the handler may set another one for its own command.
        const std::function<void()> handler = it->second;
        handler();
    }
    // A checkable action toggles itself when triggered; the state table
    // decides.
    SyncActions();
}

void CMainFrame::SyncActions() {
    for (const auto& [id, a] : actions_) {
        a->setEnabled(commands_.Enabled(id));
        if (a->isCheckable())
            a->setChecked(commands_.Checked(id));
    }
}

SearchEnvironment CMainFrame::SearchEnvironmentForRun() {
    SearchEnvironment env;
    // Copied now: the worker asks for them while this thread runs the dialog.
    const DefaultDirectories dirs{settings_.defaultPreserveDirectory.dirs,
                                  settings_.defaultDeleteDirectory.dirs};
    env.defaultDirectories = [dirs] { return dirs; };
    env.keyStore = &keyStore_;
    return env;
}

void CMainFrame::NewSearch() {
    if (!newSearchDialog_ || !newSearchDialog_(this) || state_.job.roots.empty())
        return;
    emit searchStarting();
    // The search frees the records the panes show.
    panes_->Clear();
    SwitchToTreeAndList();
    {
        CRunDialog run(this, state_, SearchEnvironmentForRun(), workerStarter_);
        run.exec();
    }
    switch (TakeSearchOutcome(state_)) {
    case SearchOutcome::Stopped:
        commands_.SearchEnded(false);
        break;
    case SearchOutcome::NothingFound:
        commands_.SearchEnded(false);
        SyncActions();
        QMessageBox::information(this, QStringLiteral("Confirm"),
                                 QStringLiteral("All files are unique!"));
        break;
    case SearchOutcome::Found:
        ShowResult();
        break;
    }
    SyncActions();
    emit searchEnded();
}

void CMainFrame::ShowResult() {
    const bool any = state_.resultRoot != nullptr;
    panes_->SetResult(any ? &state_ : nullptr);
    if (any) {
        // Selects the first group and gives the file list the focus.
        panes_->SelectFirstDirectoryWithDuplicates();
        if (commands_.layout() == FrameLayout::OneList) {
            panes_->FillOneList();
            oneList()->setFocus();
        }
    }
    commands_.SearchEnded(any);
    SyncActions();
}

void CMainFrame::SwitchToTreeAndList() {
    if (!commands_.ShowTreeAndList(panes_->treeModel()->rowCount() > 0))
        return;
    client_->setCurrentWidget(vSplitter_);
    fileList()->setFocus();
    SyncActions();
    // States and names changed in the one list show here too.
    panes_->RefreshRows();
}

void CMainFrame::SwitchToOneList() {
    if (!commands_.ShowOneList())
        return;
    client_->setCurrentWidget(oneList());
    oneList()->setFocus();
    SyncActions();
    // Filled once per result; afterwards its rows only show what changed.
    if (!panes_->FillOneList())
        panes_->RefreshRows();
}

void CMainFrame::ToggleGrid() {
    // The one list keeps the grid it was created with.
    panes_->SetGrid(commands_.ToggleGrid(panes_->grid()));
}

void CMainFrame::ToggleToolbar() {
    const bool on = !commands_.toolbarVisible();
    commands_.SetToolbarVisible(on);
    toolBar_->setVisible(on);
}

void CMainFrame::ToggleStatusBar() {
    const bool on = !commands_.statusBarVisible();
    commands_.SetStatusBarVisible(on);
    statusBar()->setVisible(on);
}

void CMainFrame::ShowAbout() {
    CAboutDlg about(keyStore_, this);
    about.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    emit closing();
    StoreLayout();
    event->accept();
}

void CMainFrame::StoreLayout() {
    if (layoutStored_)
        return;
    layoutStored_ = true;
    const QRect r = normalGeometry();
    const WindowShowState show = isMinimized()   ? WindowShowState::Minimized
                                 : isMaximized() ? WindowShowState::Maximized
                                                 : WindowShowState::Normal;
    StorePlacement(settings_.layout, {r.x(), r.y(), r.width(), r.height()}, show);
    std::array<std::vector<int>, 3> widths;
    for (ListKind kind : kListKinds)
        widths[static_cast<size_t>(kind)] = panes_->ColumnWidths(kind);
    StorePaneLayout(settings_.layout, widths, panes_->grid());
}

bool CMainFrame::RunKeypadShortcut(const QKeyEvent& key) {
    if (!(key.modifiers() & Qt::KeypadModifier))
        return false;
    const QKeySequence pressed(key.keyCombination());
    for (const auto& [id, a] : actions_)
        if (a->shortcuts().contains(pressed)) {
            a->trigger();
            return true;
        }
    return false;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && qobject_cast<QWidget*>(watched) &&
        watched->parent() == toolBar_)
        return true;
    // On X11 Qt matches a key of the keypad against the shortcuts without its
    // keypad modifier, so "Ctrl+Num +" and "Alt+Num Enter" would never fire
    // and the key would reach the pane (the tree expands on +). Such a key
    // that reaches a pane runs its action here.
    if (event->type() == QEvent::KeyPress &&
        panes_->PaneOf(qobject_cast<QWidget*>(watched)) != FramePane::None)
        if (RunKeypadShortcut(*static_cast<QKeyEvent*>(event)))
            return true;
    if (watched == vSplitter_ && event->type() == QEvent::Resize && !splitterPlaced_) {
        splitterPlaced_ = true;
        // The folder pane gets a quarter of the width, the file list three
        // quarters of the height, once the sizes are known.
        QMetaObject::invokeMethod(
            this,
            [this] {
                const int w = vSplitter_->width();
                vSplitter_->setSizes({w / 4, w - w / 4});
                const int h = hSplitter_->height();
                hSplitter_->setSizes({h * 3 / 4, h - h * 3 / 4});
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}
