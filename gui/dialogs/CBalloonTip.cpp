#include "gui/dialogs/CBalloonTip.h"

#include <QEvent>
#include <QToolTip>

CBalloonTip::CBalloonTip(QWidget* anchor) : QLabel(anchor, Qt::ToolTip), anchor_(anchor) {
    setObjectName(QStringLiteral("balloon"));
    setPalette(QToolTip::palette());
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(6);
    hide();
    // A tool-tip window stays on screen when the page under it goes away.
    for (QWidget* w = anchor; w; w = w->parentWidget())
        w->installEventFilter(this);
}

void CBalloonTip::ShowText(const QString& text) {
    setText(text);
    adjustSize();
    move(anchor_->mapToGlobal(QPoint(anchor_->width() / 4, anchor_->height())));
    show();
    raise();
    // Above the sheet also when it is raised right after, as it is when the
    // keyboard returns to it from a chooser that just closed.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isVisible())
                raise();
        },
        Qt::QueuedConnection);
}

bool CBalloonTip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide || event->type() == QEvent::Move)
        hide();
    return QLabel::eventFilter(watched, event);
}
