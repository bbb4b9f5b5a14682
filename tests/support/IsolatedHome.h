#pragma once
// Points HOME and the XDG folders at a fresh temporary folder for the life of
// the object, so no test reads or writes the real home of its user. Every
// test program creates one before anything else (the GoogleTest main does).

#include <string>

namespace paradrex::test {

class IsolatedHome {
public:
    IsolatedHome();
    ~IsolatedHome();
    IsolatedHome(const IsolatedHome&) = delete;
    IsolatedHome& operator=(const IsolatedHome&) = delete;

    const std::string& path() const { return home_; }

private:
    std::string home_;
};

} // namespace paradrex::test

// The main() of a QtTest program: isolated home, LANG=C.UTF-8, offscreen
// platform unless one was chosen, then the test object.
#define PARADREX_QTEST_MAIN(TestObject)                                                            \
    int main(int argc, char** argv) {                                                              \
        paradrex::test::IsolatedHome home;                                                         \
        ::setenv("LANG", "C.UTF-8", 1);                                                            \
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);                                               \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
