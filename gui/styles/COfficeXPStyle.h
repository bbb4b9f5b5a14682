#pragma once
// The "OfficeXP Style" drawing of the menu bar, the popup menus and the tool
// bar ("MenuStyle" 1): flat menus with a flat border, an image margin and a
// framed highlight in the colours of the XP scheme, a drop shadow where the
// window system composites, and tool bar buttons framed and filled by their
// state. Everything else is drawn by the platform's style it wraps.
//
// The main window sets it on its menu bar, its menus and its tool bar only;
// dialogs keep the platform's drawing.

#include "gui/styles/CXPTheme.h"

#include <QProxyStyle>
#include <QStyleOption>

namespace HV {

class COfficeXPStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Wraps a new instance of the application's style.
    COfficeXPStyle();
    ~COfficeXPStyle() override;

    const CXPTheme& theme() const { return theme_; }

    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawMenuPanel(const QStyleOption& option, QPainter& painter, const QWidget* widget) const;
    void DrawMenuItem(const QStyleOptionMenuItem& item, QPainter& painter,
                      const QWidget* widget) const;
    void DrawMenuBarItem(const QStyleOptionMenuItem& item, QPainter& painter,
                         const QWidget* widget) const;
    void DrawToolButton(const QStyleOptionToolButton& button, QPainter& painter,
                        const QWidget* widget) const;

    CXPTheme theme_;
};

} // namespace HV
