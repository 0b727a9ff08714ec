#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "framework/TextViewer.h"
#include "tests/support/TestEnv.h"

namespace {

// The desktop's viewer is found on PATH; without one the message names the
// file and what was tried.
TEST(TextViewerTest, DesktopViewerIsLookedForOnPath) {
    TestEnv env;
    const std::string bin = env.Root() + "/bin";
    std::filesystem::create_directories(bin);
    const char* oldPath = std::getenv("PATH");
    const std::string saved = oldPath ? oldPath : "";
    TextViewer::Set(nullptr);

    setenv("PATH", bin.c_str(), 1);
    EXPECT_EQ(TextViewer::Open("/tmp/x/log.txt"),
              "Could not open /tmp/x/log.txt: no text viewer was found (xdg-open)");

    std::ofstream(bin + "/xdg-open") << "#!/bin/sh\nexit 0\n";
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    EXPECT_EQ(TextViewer::Open("/tmp/x/log.txt"), "");
    setenv("PATH", saved.c_str(), 1);
}

} // namespace
