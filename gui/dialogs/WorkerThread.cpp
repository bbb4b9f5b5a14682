#include "gui/dialogs/WorkerThread.h"

#include <QDialog>
#include <QMessageBox>

WorkerStarter OrPlainThread(WorkerStarter starter) {
    if (starter)
        return starter;
    return [](std::function<void()> body) { return std::thread(std::move(body)); };
}

void RefuseWorkerStart(QDialog* dialog) {
    QMetaObject::invokeMethod(
        dialog,
        [dialog] {
            QMessageBox::critical(dialog, QStringLiteral("Error"),
                                  QStringLiteral("_beginthreadex failed."));
            dialog->done(0);
        },
        Qt::QueuedConnection);
}
