// The "OfficeXP Style" menus: where a submenu goes, and when a menu with a
// shadow margin shows its shadow. The colours and the geometry rules are
// tested in tests/uimodel; here only that the menus follow them.

#include "gui/styles/CFlatMenuWindow.h"
#include "gui/styles/COfficeXPStyle.h"
#include "support/IsolatedHome.h"
#include "uimodel/XPMenuGeometry.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QScreen>
#include <QtTest>

#include <memory>

using namespace paradrex;
using HV::CFlatMenuWindow;

class OfficeXPStyleTest : public QObject {
    Q_OBJECT

private:
    HV::COfficeXPStyle style_;

    // A menu with one submenu, both in the XP style.
    struct Menus {
        std::unique_ptr<QMenu> parent = std::make_unique<QMenu>();
        QMenu* sub = nullptr;
        QAction* subItem = nullptr;
    };
    Menus MakeMenus() {
        Menus m;
        m.parent->addAction(QStringLiteral("First"));
        m.sub = m.parent->addMenu(QStringLiteral("More"));
        m.sub->addAction(QStringLiteral("A rather long item of the submenu"));
        m.subItem = m.sub->menuAction();
        m.parent->setStyle(&style_);
        m.sub->setStyle(&style_);
        return m;
    }

    // Opens `m`'s submenu from its parent shown at `at`.
    static bool OpenSubmenu(Menus& m, QPoint at) {
        m.parent->popup(at);
        if (!QTest::qWaitForWindowExposed(m.parent.get()))
            return false;
        m.parent->setActiveAction(m.subItem);
        return QTest::qWaitFor([&] { return m.sub->isVisible(); });
    }

private slots:
    void everyMenuGetsItsFlatWindow() {
        Menus m = MakeMenus();
        // The style takes a menu over when it is polished, before its window
        // is made.
        QVERIFY(!CFlatMenuWindow::Of(m.parent.get()));
        m.parent->ensurePolished();
        m.sub->ensurePolished();
        QVERIFY(CFlatMenuWindow::Of(m.parent.get()));
        QVERIFY(CFlatMenuWindow::Of(m.sub));
        // Without a compositing window system no shadow margin.
        QCOMPARE(CFlatMenuWindow::Of(m.parent.get())->hasShadowMargin(),
                 CFlatMenuWindow::ScreenComposites());
        m.parent->setStyle(nullptr);
        QVERIFY(!CFlatMenuWindow::Of(m.parent.get()));
        QCOMPARE(m.parent->contentsMargins(), QMargins());
    }

    void submenuOverlapsItsParentByOnePixel() {
        Menus m = MakeMenus();
        QVERIFY(OpenSubmenu(m, QPoint(20, 50)));
        const QRect parent = m.parent->geometry();
        QCOMPARE(m.sub->x(), parent.right()); // one pixel over its right edge
    }

    void submenuOpensToTheLeftNearTheScreenEdge() {
        Menus m = MakeMenus();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const int width = m.parent->sizeHint().width();
        QVERIFY(OpenSubmenu(m, QPoint(screen.right() - width - 10, 50)));
        const QRect parent = m.parent->geometry();
        // Its right edge one pixel inside the parent's left edge.
        QCOMPARE(m.sub->geometry().right(), parent.left());
    }

    // The shadow shows once a menu has been open for the delay; a menu that
    // closes sooner never gets one.
    void shadowWaitsForTheMenuToStayOpen() {
        QMenu menu;
        menu.addAction(QStringLiteral("Item"));
        auto* flat = new CFlatMenuWindow(menu, true);
        QVERIFY(flat->hasShadowMargin());
        QCOMPARE(menu.contentsMargins(), QMargins(0, 0, kMenuShadowSize, kMenuShadowSize));
        QCOMPARE(flat->body(), menu.rect().adjusted(0, 0, -kMenuShadowSize, -kMenuShadowSize));

        QElapsedTimer open;
        open.start();
        menu.popup(QPoint(100, 100));
        QVERIFY(!flat->shadowShown());
        QVERIFY(!flat->shadowStrips().empty());
        QTRY_VERIFY(flat->shadowShown());
        QVERIFY(open.elapsed() >= kMenuShadowDelayMs);
        menu.hide();
        QVERIFY(!flat->shadowShown());

        menu.popup(QPoint(100, 100));
        menu.hide();
        QTest::qWait(3 * kMenuShadowDelayMs);
        QVERIFY(!flat->shadowShown());

        flat->Release();
        QCOMPARE(menu.contentsMargins(), QMargins());
        QVERIFY(!menu.testAttribute(Qt::WA_TranslucentBackground));
    }
};

PARADREX_QTEST_MAIN(OfficeXPStyleTest)
#include "OfficeXPStyleTest.moc"
