#include "gui/panes/CVistaTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace HV {

QColor ToQColor(paradrex::Colour colour) {
    return QColor::fromRgb(paradrex::ToRgb(colour));
}

paradrex::Colour FromQColor(const QColor& colour) {
    return paradrex::FromRgb(colour.rgb() & 0xFFFFFFu);
}

void CVistaTheme::Refresh(const QPalette& palette) {
    window = FromQColor(palette.color(QPalette::Active, QPalette::Base));
    text = FromQColor(palette.color(QPalette::Active, QPalette::Text));
}

void PaintSelection(QPainter& painter, const QRect& rect, const paradrex::SelectionColours& set) {
    if (rect.width() < 2 || rect.height() < 2)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ToQColor(set.border), 1));
    painter.setBrush(ToQColor(set.fill));
    painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    QRect inner = rect.adjusted(2, 2, -2, -2);
    if (inner.isValid()) {
        QLinearGradient gradient(inner.topLeft(), inner.bottomLeft());
        gradient.setColorAt(0, ToQColor(set.gradientTop));
        gradient.setColorAt(1, ToQColor(set.gradientBottom));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(inner, gradient);
    }
    painter.restore();
}

} // namespace HV
