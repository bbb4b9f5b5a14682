#pragma once
// What the "OfficeXP Style" adds to one popup menu window: it places a
// submenu so that it overlaps its parent by one pixel and stays on the
// screen, and, where the window system composites, keeps a translucent
// margin at the right and the bottom in which the style paints the drop
// shadow once the menu has been open for kMenuShadowDelayMs. It also knows
// the menu bar item a menu hangs from, so the two look joined.
//
// Lives as a child of its menu, from the style's polish to its unpolish
// (or to the menu's end).

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <vector>

class QMenu;

namespace HV {

class CFlatMenuWindow : public QObject {
    Q_OBJECT
public:
    // `shadow`: the menu keeps a translucent margin for its shadow.
    CFlatMenuWindow(QMenu& menu, bool shadow);
    // Gives the menu back its plain window (its margins, an opaque
    // background) before the style lets it go.
    void Release();

    // The helper of a menu, or null.
    static CFlatMenuWindow* Of(const QWidget* menu);
    // Whether the window system composites translucent windows (an X11
    // compositing manager runs, or Wayland).
    static bool ScreenComposites();

    bool hasShadowMargin() const { return shadowMargin_; }
    // The menu's body (its window without the shadow margin), in the menu's
    // coordinates.
    QRect body() const;
    // Shown: the menu has been open long enough.
    bool shadowShown() const { return shadowShown_; }
    // The shadow's strips in the menu's coordinates, cut where they would
    // fall on the parent menu or the menu bar item.
    const std::vector<QRect>& shadowStrips() const { return strips_; }
    // The part of the body's top edge under the menu bar item it hangs from,
    // in the menu's coordinates; empty when it hangs from none.
    QRect joinedEdge() const { return joined_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnShow();
    void OnHide();
    QRect GlobalBody() const;

    QMenu& menu_;
    bool shadowMargin_ = false;
    bool shadowShown_ = false;
    QTimer shadowTimer_;
    std::vector<QRect> strips_;
    QRect joined_;
};

} // namespace HV
