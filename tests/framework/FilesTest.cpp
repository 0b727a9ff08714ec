#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/FileReader.h"
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

// A failure at each step of the replace (a full disk at the write, a failed
// sync, a rename refused): the original stays whole, no temporary file is
// left and the step's reason comes back. Bytes already there are not
// rewritten at all.
TEST(FilesTest, ReplaceFailingAtEveryStepKeepsTheOriginal) {
    TestEnv env;
    const std::string path = env.Root() + "/buttn.cfg";
    const std::string old = "Status,ST^M,0\r\nComm,COM^M,0\r\n";
    ASSERT_TRUE(ReplaceFileContents(path, old));
    for (const ReplaceStep step :
         {ReplaceStep::Open, ReplaceStep::Write, ReplaceStep::Sync, ReplaceStep::Rename}) {
        for (const bool synced : {true, false}) {
            SCOPED_TRACE(int(step) * 2 + synced);
            FailNextReplaceAt(step, ENOSPC);
            int error = 0;
            EXPECT_FALSE(WriteFileIfDifferent(path, std::string(5000, 'n'), &error, synced));
            EXPECT_EQ(error, ENOSPC);
            EXPECT_TRUE(FileHolds(path, old));
            EXPECT_EQ(FindFiles(env.Root(), "*.part"), std::vector<std::string>{});
        }
    }

    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    FailNextReplaceAt(ReplaceStep::Open, EIO); // would fail, were it written
    EXPECT_TRUE(WriteFileIfDifferent(path, old));
    FailNextReplaceAt(ReplaceStep::None, 0);
    struct stat after {};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    // A longer or shorter file is not "the same bytes".
    EXPECT_FALSE(FileHolds(path, old + "x"));
    EXPECT_FALSE(FileHolds(path, old.substr(1)));
    EXPECT_TRUE(WriteFileIfDifferent(path, "new\r\n", nullptr, false));
    EXPECT_TRUE(FileHolds(path, "new\r\n"));
}

// Whatever stands in a settings file's place, the reader answers at once
// and says why; a 50 MB file without a line end is read only to the limit.
TEST(FilesTest, ReaderRefusesWhatIsNoFileAndStopsAtItsLimit) {
    TestEnv env;
    const std::string fifo = env.Root() + "/fifo.cfg";
    const std::string zero = env.Root() + "/zero.cfg";
    const std::string big = env.Root() + "/big.cfg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    ASSERT_TRUE(ReplaceFileContents(big, ""));
    ASSERT_EQ(truncate(big.c_str(), 50 << 20), 0);
    CFileReader reader;
    for (const std::string& path : {fifo, zero, env.Root()}) {
        EXPECT_FALSE(reader.Open(path));
        EXPECT_EQ(reader.Error(), path == env.Root() ? EISDIR : ENODEV);
    }
    std::string bytes;
    EXPECT_FALSE(ReadWholeFile(big, &bytes, 1 << 20));
    EXPECT_EQ(errno, EFBIG);
    ASSERT_TRUE(reader.Open(big, 1 << 20));
    char line[800];
    EXPECT_EQ(reader.ReadLine(line, sizeof line), 799u);
    EXPECT_EQ(reader.ReadLine(line, sizeof line), 0u);
    EXPECT_TRUE(reader.Cut());

    // Lines through the buffer's edges come back whole.
    std::string lines;
    for (int n = 0; n < 3000; ++n)
        lines += std::string(std::size_t(n % 13), char('a' + n % 26)) + "\r\n";
    ASSERT_TRUE(ReplaceFileContents(big, lines));
    ASSERT_TRUE(reader.Open(big));
    std::string read;
    while (reader.ReadLine(line, sizeof line))
        read += line;
    EXPECT_EQ(read, lines);
    EXPECT_FALSE(reader.Cut());
}

} // namespace
