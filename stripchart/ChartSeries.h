// The points of one chart series: (time, value) pairs appended in chunks,
// with a min/max summary over aligned blocks of 2^k points that grows as
// points arrive, so that the extremes of any index range cost a few lookups.
// No Qt in here.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

// The points of one pixel column: indices [first, last), their extremes and
// the first and last point (all 0.0 when the column is empty).
struct ChartColumn {
    std::size_t first = 0, last = 0;
    double lo = 0.0, hi = 0.0;
    double firstTime = 0.0, firstValue = 0.0;
    double lastTime = 0.0, lastValue = 0.0;
};

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

    // The points (times ascending) in columns of `step` days from `start`:
    // column c holds the times in [start + c * step, start + (c + 1) * step),
    // the last one the times up to and including `end`. Kept until points
    // are added or cleared or another slicing is asked for.
    const std::vector<ChartColumn>& Columns(double start, double end, double step) const;

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

    // First index in [first, last) whose time is not below `time` (else
    // `last`), looked for from `hint` outwards.
    std::size_t SearchNear(std::size_t first, std::size_t last, std::size_t hint,
                           double time) const;
    // The first index in [lo, hi) whose time is not below `time` (hi if none).
    std::size_t LowerBoundIn(std::size_t lo, std::size_t hi, double time) const;

    std::vector<std::unique_ptr<Chunk>> m_chunks;
    // m_levels[k][j]: extremes of points [j << (kBaseBits + k), (j + 1) << (kBaseBits + k)).
    std::vector<std::vector<Extremes>> m_levels;
    std::size_t m_size = 0;
    bool m_ascending = true;
    double m_min = 0.0;
    double m_max = 0.0;

    struct ColumnCache {
        bool valid = false;   // false again after Clear
        std::size_t size = 0; // points when the columns were found
        double start = 0.0, end = 0.0, step = 0.0;
        std::vector<ChartColumn> columns;
    };
    mutable ColumnCache m_columns;
};
