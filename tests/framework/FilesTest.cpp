#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include "framework/Files.h"
#include "tests/support/TestEnv.h"

namespace {

// The replace writer under a failure half-way through its write (the file
// size limit stands in for a full disk): the original stays as it was and no
// temporary file is left; without the failure the new bytes take its place.
TEST(FilesTest, ReplaceLeavesTheOriginalWholeWhenWritingFails) {
    TestEnv env;
    const std::string path = env.Root() + "/sites.cfg";
    ASSERT_TRUE(ReplaceFileContents(path, "old contents\r\n"));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 8;
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int error = 0;
    const bool replaced = ReplaceFileContents(path, std::string(100, 'n'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_FALSE(replaced);
    EXPECT_EQ(error, EFBIG);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, &bytes));
    EXPECT_EQ(bytes, "old contents\r\n");
    EXPECT_EQ(FindFiles(env.Root(), "*.part"), std::vector<std::string>{});

    // A name held by a folder cannot be replaced either, and nothing is left.
    ASSERT_EQ(mkdir((env.Root() + "/held").c_str(), 0755), 0);
    EXPECT_FALSE(ReplaceFileContents(env.Root() + "/held", "x", &error));
    EXPECT_EQ(error, EISDIR);
    EXPECT_EQ(FindFiles(env.Root(), "*.part"), std::vector<std::string>{});

    EXPECT_TRUE(ReplaceFileContents(path, "new\r\n"));
    ASSERT_TRUE(ReadWholeFile(path, &bytes));
    EXPECT_EQ(bytes, "new\r\n");
}

} // namespace
