#include "gui/mainwnd/CDialogFocusReturn.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>

CDialogFocusReturn::CDialogFocusReturn(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

CDialogFocusReturn::~CDialogFocusReturn() {
    qApp->removeEventFilter(this);
}

bool CDialogFocusReturn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Hide || !watched->isWidgetType())
        return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog || !dialog->isWindow() || !dialog->parentWidget())
        return false;
    QPointer<QWidget> owner = dialog->parentWidget()->window();
    // Later, once the dialog is gone and the next one (if any) is shown.
    QMetaObject::invokeMethod(
        this,
        [owner] {
            QWidget* target = QApplication::activeModalWidget();
            if (!target)
                target = owner;
            if (target && target->isVisible() && QApplication::activeWindow() != target) {
                target->raise();
                target->activateWindow();
            }
        },
        Qt::QueuedConnection);
    return false;
}
