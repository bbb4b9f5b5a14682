#include "gui/mainwnd/CFolderBarWindow.h"

#include <QPainter>

#include <algorithm>

namespace {
// The caption text starts this far in from the left and ends this far before
// the right edge.
constexpr int kCaptionInset = 4;
} // namespace

CFolderBarWindow::CFolderBarWindow(QWidget* parent)
    : QWidget(parent), caption_(QStringLiteral("Folders")) {}

int CFolderBarWindow::CaptionHeight(int fontHeight) {
    return std::max(22, fontHeight + 10);
}

int CFolderBarWindow::captionHeight() const {
    return CaptionHeight(fontMetrics().height());
}

void CFolderBarWindow::SetClient(QWidget* client) {
    client_ = client;
    if (client_) {
        client_->setParent(this);
        PlaceClient();
        client_->show();
    }
}

QSize CFolderBarWindow::sizeHint() const {
    const QSize inner = client_ ? client_->sizeHint() : QSize(100, 100);
    return {inner.width(), inner.height() + captionHeight()};
}

QSize CFolderBarWindow::minimumSizeHint() const {
    return {20, captionHeight()};
}

void CFolderBarWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect bar(0, 0, width(), captionHeight());
    p.fillRect(bar, palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::WindowText));
    const QRect text = bar.adjusted(kCaptionInset, 0, -kCaptionInset, 0);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               fontMetrics().elidedText(caption_, Qt::ElideRight, text.width()));
}

void CFolderBarWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceClient();
}

void CFolderBarWindow::PlaceClient() {
    if (!client_)
        return;
    const int top = captionHeight();
    client_->setGeometry(0, top, width(), std::max(0, height() - top));
}
