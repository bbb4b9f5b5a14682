#pragma once
// Helpers of the widget tests: drive a modal dialog from a timer while the
// test waits in its exec(), and keep Setting.ini and error.log out of the
// build tree.

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace paradrex::test {

// Calls `step` every 20 ms until it returns true (or the poller is
// destroyed). Runs inside nested event loops, such as a dialog's exec().
class Poller {
public:
    explicit Poller(std::function<bool()> step) : step_(std::move(step)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (!done_ && step_()) {
                done_ = true;
                timer_.stop();
            }
        });
        timer_.start();
    }
    bool done() const { return done_; }

private:
    std::function<bool()> step_;
    QTimer timer_;
    bool done_ = false;
};

// The visible top-level widget of a type, or null.
template <class T> T* VisibleTopLevel() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    return nullptr;
}

// A working directory of its own for the test program.
class TempWorkingDirectory {
public:
    TempWorkingDirectory() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~TempWorkingDirectory() { QDir::setCurrent(previous_); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

} // namespace paradrex::test
