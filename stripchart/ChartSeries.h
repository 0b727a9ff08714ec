// The points of one chart series: (time, value) pairs appended in chunks,
// with a min/max summary over aligned blocks of 2^k points that grows as
// points arrive, so that the extremes of any index range cost a few lookups.
// No Qt in here.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

class ChartSeries {
public:
    // Appends a point; non-finite times or values are ignored. Amortised O(1).
    void Add(double time, double value);
    void Clear();

    std::size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    double Time(std::size_t i) const { return m_chunks[i >> kChunkBits]->time[i & kChunkMask]; }
    double Value(std::size_t i) const { return m_chunks[i >> kChunkBits]->value[i & kChunkMask]; }
    // True while every time is at or after the one before it.
    bool Ascending() const { return m_ascending; }
    // Smallest and largest value of all points; 0.0 when empty.
    double Min() const { return m_size ? m_min : 0.0; }
    double Max() const { return m_size ? m_max : 0.0; }

    // First index whose time is not below `time` (times ascending).
    std::size_t LowerBound(double time) const;
    // First index whose time is above `time` (times ascending).
    std::size_t UpperBound(double time) const;
    // Extremes of the values at indices [first, last); false when empty.
    bool RangeMinMax(std::size_t first, std::size_t last, double* lo, double* hi) const;

    // Bytes held for the points and their summary.
    std::size_t MemoryBytes() const;

private:
    static constexpr unsigned kChunkBits = 16;
    static constexpr std::size_t kChunkSize = std::size_t(1) << kChunkBits;
    static constexpr std::size_t kChunkMask = kChunkSize - 1;
    // The smallest summarised block holds 2^kBaseBits points.
    static constexpr unsigned kBaseBits = 4;
    struct Chunk {
        std::array<double, kChunkSize> time;
        std::array<double, kChunkSize> value;
    };
    struct Extremes {
        double lo, hi;
    };

    void Summarise();

    std::vector<std::unique_ptr<Chunk>> m_chunks;
    // m_levels[k][j]: extremes of points [j << (kBaseBits + k), (j + 1) << (kBaseBits + k)).
    std::vector<std::vector<Extremes>> m_levels;
    std::size_t m_size = 0;
    bool m_ascending = true;
    double m_min = 0.0;
    double m_max = 0.0;
};
