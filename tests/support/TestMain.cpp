// main() of the Qt test executables: a headless application on a virtual
// clock, in a temporary home with its own data folder and ports folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/Application.h"
#include "framework/Clock.h"
#include "resources/ProgramResources.h"
#include "tests/support/TestEnv.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TestEnv::PrepareProcess();
    FrameworkApplication app(argc, argv);
    RegisterProgramResources();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
