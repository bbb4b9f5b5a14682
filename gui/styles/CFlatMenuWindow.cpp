#include "gui/styles/CFlatMenuWindow.h"

#include "uimodel/XPMenuGeometry.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

#include <algorithm>

#ifdef PARADREX_HAVE_XCB
#include <QGuiApplication>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>
#endif

using namespace paradrex;

namespace HV {

namespace {

// Set on a menu whose window was made with an alpha channel.
constexpr const char* kAlphaWindow = "paradrexAlphaWindow";

WindowRect ToWindowRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

QRect ToQRect(const WindowRect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

// The menu that opened `menu` as its submenu, if any. While a submenu gets
// its show event the parent is still the active popup.
QMenu* ParentMenu(const QMenu& menu) {
    auto* parent = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!parent || parent == &menu || !parent->activeAction() ||
        parent->activeAction()->menu() != &menu)
        return nullptr;
    return parent;
}

// The menu bar that shows `menu` as its open popup, if any.
QMenuBar* OpeningBar(const QMenu& menu) {
    for (QObject* o : menu.menuAction()->associatedObjects())
        if (auto* bar = qobject_cast<QMenuBar*>(o);
            bar && bar->isVisible() && bar->activeAction() == menu.menuAction())
            return bar;
    return nullptr;
}

#ifdef PARADREX_HAVE_XCB
// A compositing manager owns the selection _NET_WM_CM_S<screen>.
bool X11Composites() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return false;
    int screen = 0;
    if (const char* display = std::getenv("DISPLAY")) {
        const char* colon = std::strrchr(display, ':');
        const char* dot = std::strrchr(display, '.');
        if (colon && dot && dot > colon)
            screen = std::atoi(dot + 1);
    }
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE)
        return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return owned;
}
#endif

} // namespace

CFlatMenuWindow::CFlatMenuWindow(QMenu& menu, bool shadow) : QObject(&menu), menu_(menu) {
    setObjectName(QStringLiteral("flatMenuWindow"));
    shadowTimer_.setSingleShot(true);
    shadowTimer_.setInterval(kMenuShadowDelayMs);
    connect(&shadowTimer_, &QTimer::timeout, this, [this] {
        if (!menu_.isVisible())
            return;
        shadowShown_ = true;
        menu_.update();
    });
    // A window gets its alpha channel when it is made: a menu whose window
    // was made without one (shown before the style was switched on) stays
    // without a shadow.
    const QWindow* window = menu_.windowHandle();
    const bool made = window && window->handle();
    shadowMargin_ = shadow && (!made || menu_.property(kAlphaWindow).toBool());
    if (shadowMargin_) {
        if (!made)
            menu_.setProperty(kAlphaWindow, true);
        menu_.setAttribute(Qt::WA_TranslucentBackground, true);
        menu_.setContentsMargins(0, 0, kMenuShadowSize, kMenuShadowSize);
    }
    menu_.installEventFilter(this);
}

void CFlatMenuWindow::Release() {
    menu_.removeEventFilter(this);
    shadowTimer_.stop();
    if (shadowMargin_) {
        shadowMargin_ = false;
        menu_.setContentsMargins(0, 0, 0, 0);
        // Painted opaque again; the window keeps its alpha channel.
        menu_.setAttribute(Qt::WA_TranslucentBackground, false);
        menu_.setAttribute(Qt::WA_NoSystemBackground, false);
    }
}

CFlatMenuWindow* CFlatMenuWindow::Of(const QWidget* menu) {
    return menu ? menu->findChild<CFlatMenuWindow*>(QStringLiteral("flatMenuWindow"),
                                                    Qt::FindDirectChildrenOnly)
                : nullptr;
}

bool CFlatMenuWindow::ScreenComposites() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
#ifdef PARADREX_HAVE_XCB
    if (platform == QLatin1String("xcb"))
        return X11Composites();
#endif
    return false;
}

QRect CFlatMenuWindow::body() const {
    return menu_.rect().marginsRemoved(menu_.contentsMargins());
}

QRect CFlatMenuWindow::GlobalBody() const {
    return body().translated(menu_.geometry().topLeft());
}

bool CFlatMenuWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &menu_) {
        if (event->type() == QEvent::Show)
            OnShow();
        else if (event->type() == QEvent::Hide)
            OnHide();
    }
    return false;
}

void CFlatMenuWindow::OnShow() {
    std::vector<WindowRect> covered;
    joined_ = QRect();
    if (QMenu* parent = ParentMenu(menu_)) {
        QRect parentBody = parent->geometry();
        if (const CFlatMenuWindow* flat = Of(parent))
            parentBody = flat->GlobalBody();
        const QScreen* screen = parent->screen();
        const QRect area = screen ? screen->availableGeometry() : parentBody;
        const int x = SubmenuLeft(ToWindowRect(parentBody), body().width(), ToWindowRect(area),
                                  menu_.layoutDirection() != Qt::RightToLeft);
        menu_.move(x, menu_.y());
        covered.push_back(ToWindowRect(parentBody));
    } else if (QMenuBar* bar = OpeningBar(menu_)) {
        const QRect item = bar->actionGeometry(menu_.menuAction());
        const QRect global(bar->mapToGlobal(item.topLeft()), item.size());
        covered.push_back(ToWindowRect(global));
        const QRect b = GlobalBody();
        if (global.bottom() + 1 == b.top()) {
            const int left = std::max(global.left(), b.left()) + 1;
            const int right = std::min(global.right(), b.right()) - 1;
            if (left <= right)
                joined_ = QRect(left - menu_.x(), 0, right - left + 1, 1);
        }
    }
    strips_.clear();
    if (shadowMargin_) {
        const QPoint origin = menu_.geometry().topLeft();
        for (const WindowRect& s : MenuShadowStrips(ToWindowRect(GlobalBody()), covered))
            strips_.push_back(ToQRect(s).translated(-origin));
    }
    shadowShown_ = false;
    if (shadowMargin_)
        shadowTimer_.start();
}

void CFlatMenuWindow::OnHide() {
    shadowTimer_.stop();
    shadowShown_ = false;
}

} // namespace HV
