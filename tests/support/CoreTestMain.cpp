// main() of the core tests: no application and no window system, only the
// process set-up every test environment expects.
#include <gtest/gtest.h>

#include "tests/support/TestEnv.h"

int main(int argc, char** argv) {
    TestEnv::PrepareProcess();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
