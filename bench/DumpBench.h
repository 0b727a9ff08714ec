// What the dump-reader benchmarks share: a sink that counts points and the
// size of the file to read.
#pragma once

#include <cstdio>

#include "plot/DumpReader.h"

struct CountSink : DumpSink {
    long points = 0;
    void OnPoint(int, double, double) override { ++points; }
};

inline long FileSize(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return -1;
    std::fseek(f, 0, SEEK_END);
    const long n = std::ftell(f);
    std::fclose(f);
    return n;
}
