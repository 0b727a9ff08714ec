// Whole files, their lines and call lines, for the schedule tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/Files.h"
#include "shell/CallCommands.h"

inline std::string ReadAll(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, &bytes)) << path;
    return bytes;
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    ASSERT_TRUE(file.Write(bytes));
}

// Where line n (from 1) of `bytes` begins.
inline std::size_t LineStart(const std::string& bytes, int n) {
    std::size_t pos = 0;
    for (int i = 1; i < n; ++i)
        pos = bytes.find('\n', pos) + 1;
    return pos;
}

// Line n (from 1) of `bytes`, through its LF.
inline std::string LineOf(const std::string& bytes, int n) {
    const std::size_t pos = LineStart(bytes, n);
    return bytes.substr(pos, bytes.find('\n', pos) + 1 - pos);
}

// `bytes` with line n replaced by `line`.
inline std::string WithLine(std::string bytes, int n, const std::string& line) {
    return bytes.replace(LineStart(bytes, n), LineOf(bytes, n).size(), line);
}

// The call line as the site line holds it: the commands' fields and commas.
inline std::string CallLine(const CallCommands& call) {
    std::string line;
    for (const CallCommand& c : call.command)
        line += std::string(line.empty() ? "" : ",") + c.szCommand + "," + c.szFile + "," +
                c.cAppend + "," + c.cForm;
    return line;
}
