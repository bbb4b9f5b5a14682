// GoogleTest entry: every test process gets a fresh HOME and XDG folders.

#include "support/IsolatedHome.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    paradrex::test::IsolatedHome home;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
