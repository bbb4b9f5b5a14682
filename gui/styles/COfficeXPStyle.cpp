#include "gui/styles/COfficeXPStyle.h"

#include "gui/panes/CVistaTheme.h"
#include "gui/styles/CFlatMenuWindow.h"
#include "uimodel/XPMenuGeometry.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

using namespace paradrex;

namespace HV {

namespace {

// The image margin of a menu: the column of item images at the left.
constexpr int kImageMargin = 24;
constexpr int kTextGap = 8;      // image margin to text
constexpr int kShortcutGap = 16; // text to shortcut
constexpr int kArrowSpace = 20;  // right of the shortcut, room for a submenu's arrow
constexpr int kMenuItemHeight = 22;
constexpr int kMenuIconSize = 16;
// How dark the shadow is next to the menu, in alpha; each of the steps
// outward is a quarter of that lighter.
constexpr int kShadowAlpha = 84;

// Separator lines: halfway between the menu border and the menu body.
QColor SeparatorColour(const CXPTheme& theme) {
    const XPColourScheme& s = theme.scheme();
    return ToQColor(BlendTowards(s[XPColour::MenuBorder], s[XPColour::MenuBack], 50));
}

bool IsToolBarButton(const QWidget* widget) {
    return qobject_cast<const QToolButton*>(widget) && widget->parentWidget() &&
           qobject_cast<const QToolBar*>(widget->parentWidget());
}

// A frame one pixel wide just inside `rect`.
void DrawFrame(QPainter& painter, const QRect& rect, const QColor& colour) {
    painter.save();
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

int TextFlags(const QStyle& style, const QStyleOption& option, const QWidget* widget) {
    int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!style.styleHint(QStyle::SH_UnderlineShortcut, &option, widget))
        flags |= Qt::TextHideMnemonic;
    return flags;
}

void DrawCheckMark(QPainter& painter, const QRect& box, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(colour, 2);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const QPointF c = QRectF(box).center();
    QPainterPath tick;
    tick.moveTo(c + QPointF(-3.5, 0));
    tick.lineTo(c + QPointF(-1, 2.5));
    tick.lineTo(c + QPointF(3.5, -2.5));
    painter.drawPath(tick);
    painter.restore();
}

void DrawRightArrow(QPainter& painter, const QRect& area, const QColor& colour) {
    const QPoint c = area.center();
    const QPoint points[] = {c + QPoint(-2, -4), c + QPoint(2, 0), c + QPoint(-2, 4)};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(colour);
    painter.setBrush(colour);
    painter.drawPolygon(points, 3);
    painter.restore();
}

} // namespace

COfficeXPStyle::COfficeXPStyle()
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {
    setObjectName(QStringLiteral("OfficeXPStyle"));
    qApp->installEventFilter(this);
}

COfficeXPStyle::~COfficeXPStyle() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool COfficeXPStyle::eventFilter(QObject* watched, QEvent* event) {
    // The system colours changed (or the desktop's theme): the scheme follows.
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        theme_.Refresh();
    return QProxyStyle::eventFilter(watched, event);
}

void COfficeXPStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        if (!CFlatMenuWindow::Of(menu))
            new CFlatMenuWindow(*menu, CFlatMenuWindow::ScreenComposites());
    } else if (IsToolBarButton(widget)) {
        widget->setAttribute(Qt::WA_Hover, true);
    }
}

void COfficeXPStyle::unpolish(QWidget* widget) {
    if (auto* menu = qobject_cast<QMenu*>(widget))
        if (CFlatMenuWindow* flat = CFlatMenuWindow::Of(menu)) {
            flat->Release();
            delete flat;
        }
    QProxyStyle::unpolish(widget);
}

int COfficeXPStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
        return 0;
    case PM_MenuVMargin:
        return 1;
    case PM_SubMenuOverlap:
        return -1;
    case PM_MenuBarPanelWidth:
    case PM_MenuBarItemSpacing:
        return 0;
    case PM_MenuBarHMargin:
        return 2;
    case PM_MenuBarVMargin:
        return 1;
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
        if (IsToolBarButton(widget))
            return 0;
        break;
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int COfficeXPStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const {
    switch (hint) {
    case SH_Menu_Mask: // square menus; the shadow margin stays translucent
        return 0;
    case SH_MenuBar_MouseTracking:
    case SH_Menu_MouseTracking:
        return 1;
    default:
        break;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QSize COfficeXPStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                       const QSize& size, const QWidget* widget) const {
    if (type == CT_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            if (item->menuItemType == QStyleOptionMenuItem::Separator)
                return QSize(kImageMargin + kTextGap, 5);
            return QSize(kImageMargin + kTextGap + size.width() + kShortcutGap + kArrowSpace,
                         std::max(size.height() + 6, kMenuItemHeight));
        }
    }
    if (type == CT_MenuBarItem)
        return QSize(size.width() + 14, std::max(size.height() + 6, 20));
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void COfficeXPStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case PE_PanelMenu:
        if (qobject_cast<const QMenu*>(widget)) {
            DrawMenuPanel(*option, *painter, widget);
            return;
        }
        break;
    case PE_FrameMenu:
        // The panel draws the border, inside the shadow margin.
        if (qobject_cast<const QMenu*>(widget))
            return;
        break;
    case PE_PanelMenuBar:
        painter->fillRect(option->rect, theme_[XPColour::BarBack]);
        return;
    case PE_IndicatorToolBarSeparator: {
        const QRect r = option->rect;
        painter->save();
        painter->setPen(SeparatorColour(theme_));
        if (option->state & State_Horizontal) {
            const int x = r.center().x();
            painter->drawLine(x, r.top() + 3, x, r.bottom() - 3);
        } else {
            const int y = r.center().y();
            painter->drawLine(r.left() + 3, y, r.right() - 3, y);
        }
        painter->restore();
        return;
    }
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void COfficeXPStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case CE_MenuItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            item && qobject_cast<const QMenu*>(widget)) {
            DrawMenuItem(*item, *painter, widget);
            return;
        }
        break;
    case CE_MenuEmptyArea:
        if (qobject_cast<const QMenu*>(widget))
            return; // the panel painted it
        break;
    case CE_MenuBarItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            DrawMenuBarItem(*item, *painter, widget);
            return;
        }
        break;
    case CE_MenuBarEmptyArea:
    case CE_ToolBar:
        painter->fillRect(option->rect, theme_[XPColour::BarBack]);
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void COfficeXPStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const {
    if (control == CC_ToolButton && IsToolBarButton(widget))
        if (const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option)) {
            DrawToolButton(*button, *painter, widget);
            return;
        }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void COfficeXPStyle::DrawMenuPanel(const QStyleOption& option, QPainter& painter,
                                   const QWidget* widget) const {
    const CFlatMenuWindow* flat = CFlatMenuWindow::Of(widget);
    const QRect body = flat ? flat->body() : option.rect;
    painter.save();
    if (flat && flat->hasShadowMargin()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(option.rect, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    painter.fillRect(body, theme_[XPColour::MenuBack]);
    painter.fillRect(QRect(body.left() + 1, body.top() + 1, kImageMargin, body.height() - 2),
                     theme_[XPColour::BarBack]);
    DrawFrame(painter, body, theme_[XPColour::MenuBorder]);
    if (flat && !flat->joinedEdge().isEmpty())
        painter.fillRect(flat->joinedEdge(), theme_[XPColour::BarBack]);
    if (flat && flat->shadowShown() && !flat->shadowStrips().empty()) {
        QRegion strips;
        for (const QRect& s : flat->shadowStrips())
            strips += s;
        painter.setClipRegion(strips, Qt::IntersectClip);
        for (int step = 0; step < kMenuShadowSize; ++step) {
            const QRegion ring = QRegion(body.adjusted(0, 0, step + 1, step + 1)) -
                                 QRegion(body.adjusted(0, 0, step, step));
            const QColor shade(0, 0, 0, kShadowAlpha * (kMenuShadowSize - step) / kMenuShadowSize);
            for (const QRect& r : ring)
                painter.fillRect(r, shade);
        }
    }
    painter.restore();
}

void COfficeXPStyle::DrawMenuItem(const QStyleOptionMenuItem& item, QPainter& painter,
                                  const QWidget* widget) const {
    const QRect r = item.rect;
    painter.save();
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        painter.setPen(SeparatorColour(theme_));
        const int y = r.center().y();
        painter.drawLine(r.left() + kImageMargin + kTextGap, y, r.right() - 1, y);
        painter.restore();
        return;
    }
    const bool enabled = item.state & State_Enabled;
    const bool selected = enabled && (item.state & State_Selected);
    if (selected) {
        const QRect highlight = r.adjusted(1, 0, -1, 0);
        painter.fillRect(highlight, theme_[XPColour::Hot]);
        DrawFrame(painter, highlight, theme_[XPColour::Border]);
    }
    const QRect image(r.left(), r.top(), kImageMargin + 1, r.height());
    const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
    if (checked) {
        QRect box(0, 0, kMenuIconSize + 4, kMenuIconSize + 4);
        box.moveCenter(image.center());
        painter.fillRect(box, theme_[selected ? XPColour::Pressed : XPColour::Checked]);
        DrawFrame(painter, box, theme_[XPColour::Border]);
    }
    const QColor text = enabled ? theme_.menuText() : theme_[XPColour::GrayText];
    if (!item.icon.isNull()) {
        const QIcon::Mode mode =
            !enabled ? QIcon::Disabled : (selected ? QIcon::Active : QIcon::Normal);
        const QPixmap pixmap = item.icon.pixmap(QSize(kMenuIconSize, kMenuIconSize),
                                                painter.device()->devicePixelRatio(), mode,
                                                checked ? QIcon::On : QIcon::Off);
        QRect place(QPoint(), QSize(kMenuIconSize, kMenuIconSize));
        place.moveCenter(image.center());
        painter.drawPixmap(place, pixmap);
    } else if (checked) {
        DrawCheckMark(painter, image, text);
    }

    const int left = r.left() + kImageMargin + kTextGap;
    const QRect textRect(left, r.top(), r.right() - kArrowSpace - left, r.height());
    const int flags = TextFlags(*proxy(), item, widget);
    painter.setPen(text);
    painter.setFont(item.font);
    QString label = item.text;
    const qsizetype tab = label.indexOf(u'\t');
    if (tab >= 0) {
        painter.drawText(textRect, flags | Qt::AlignRight, label.mid(tab + 1));
        label.truncate(tab);
    }
    painter.drawText(textRect, flags | Qt::AlignLeft, label);
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu)
        DrawRightArrow(painter,
                       QRect(r.right() - kArrowSpace + 1, r.top(), kArrowSpace, r.height()), text);
    painter.restore();
}

void COfficeXPStyle::DrawMenuBarItem(const QStyleOptionMenuItem& item, QPainter& painter,
                                     const QWidget* widget) const {
    const QRect r = item.rect;
    const bool enabled = item.state & State_Enabled;
    const bool selected = enabled && (item.state & State_Selected);
    const bool open = selected && (item.state & State_Sunken);
    painter.save();
    painter.fillRect(r, theme_[XPColour::BarBack]);
    if (open) {
        // Joined to the menu below it: no bottom edge.
        painter.setPen(theme_[XPColour::MenuBorder]);
        painter.drawLine(r.bottomLeft(), r.topLeft());
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    } else if (selected) {
        painter.fillRect(r, theme_[XPColour::Hot]);
        DrawFrame(painter, r, theme_[XPColour::Border]);
    }
    painter.setPen(enabled ? theme_.menuText() : theme_[XPColour::GrayText]);
    painter.setFont(item.font);
    painter.drawText(r, TextFlags(*proxy(), item, widget) | Qt::AlignHCenter, item.text);
    painter.restore();
}

void COfficeXPStyle::DrawToolButton(const QStyleOptionToolButton& button, QPainter& painter,
                                    const QWidget* widget) const {
    ToolButtonState state;
    state.enabled = button.state & State_Enabled;
    state.underMouse = button.state & State_MouseOver;
    state.pressed = button.state & State_Sunken;
    state.checked = button.state & State_On;
    const ToolButtonLook look = ToolButtonLookOf(state);
    if (look.fill)
        painter.fillRect(button.rect, theme_[*look.fill]);
    if (look.border)
        DrawFrame(painter, button.rect, theme_[*look.border]);
    // The image and text over it, without the platform's panel.
    QStyleOptionToolButton label = button;
    label.state &= ~(State_Sunken | State_On | State_MouseOver | State_Raised);
    label.state |= State_AutoRaise;
    label.activeSubControls = SC_None;
    QProxyStyle::drawComplexControl(CC_ToolButton, &label, &painter, widget);
}

} // namespace HV
