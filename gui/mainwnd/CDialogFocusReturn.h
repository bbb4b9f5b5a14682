#pragma once
// Gives the keyboard focus back when a dialog closes: to the modal dialog
// still open, or else to the window that opened it. A window manager does
// this on a desktop; without one (a bare X server) the keyboard would reach
// no window at all after the first dialog closed.

#include <QObject>

class CDialogFocusReturn : public QObject {
    Q_OBJECT
public:
    // Watches every dialog of the application while it exists.
    explicit CDialogFocusReturn(QObject* parent = nullptr);
    ~CDialogFocusReturn() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
