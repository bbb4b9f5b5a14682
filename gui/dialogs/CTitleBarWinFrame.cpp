#include "gui/dialogs/CTitleBarWinFrame.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace HV {

namespace {

// The colour `percent` of the way from `from` to `to`, channel by channel.
QColor Between(const QColor& from, const QColor& to, int percent) {
    auto mix = [percent](int a, int b) { return a + (b - a) * percent / 100; };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

// The title's top-left corner in the strip.
constexpr int kTitleX = 5, kTitleY = 2;

} // namespace

CTitleBarWinFrame::CTitleBarWinFrame(QWidget* parent) : QWidget(parent) {}

void CTitleBarWinFrame::SetTitle(const QString& title) {
    title_ = title.left(63);
    update();
}

int CTitleBarWinFrame::StripBottom() const {
    return std::max(20, kTitleY + fontMetrics().height() + 2);
}

QSize CTitleBarWinFrame::SizeFor(const QSize& page) const {
    // One pixel of border on each side, two of shadow right and below.
    return {page.width() + 4, page.height() + StripBottom() + 3};
}

void CTitleBarWinFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& p = palette();
    const QColor face = p.color(QPalette::Button);
    const QColor text = p.color(QPalette::WindowText);
    const int right = width() - 1, bottom = height() - 1;

    // The box: border and face; the two shadow lines outside it.
    painter.setPen(Between(p.color(QPalette::Base), p.color(QPalette::Text), 50));
    painter.setBrush(face);
    painter.drawRect(0, 0, right - 2, bottom - 2);
    painter.setPen(Between(text, face, 90));
    painter.drawLine(right - 1, 1, right - 1, bottom - 1);
    painter.drawLine(1, bottom - 1, right - 1, bottom - 1);
    painter.setPen(Between(text, face, 95));
    painter.drawLine(right, 2, right, bottom);
    painter.drawLine(2, bottom, right, bottom);

    // The strip: the desktop's caption (highlight) colour fading to white.
    const QRect strip(1, 1, width() - 4, StripBottom() - 1);
    QLinearGradient gradient(strip.topLeft(), strip.topRight());
    gradient.setColorAt(0, p.color(QPalette::Active, QPalette::Highlight));
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(strip, gradient);
    painter.setPen(Qt::white);
    painter.drawText(QRect(kTitleX, kTitleY, strip.right() - kTitleX, strip.height()),
                     int(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine), title_);
}

} // namespace HV
