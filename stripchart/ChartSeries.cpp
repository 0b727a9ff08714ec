#include "stripchart/ChartSeries.h"

#include <algorithm>
#include <cmath>

void ChartSeries::Add(double time, double value) {
    if (!std::isfinite(time) || !std::isfinite(value))
        return;
    if ((m_size >> kChunkBits) >= m_chunks.size())
        m_chunks.push_back(std::unique_ptr<Chunk>(new Chunk)); // left uninitialised
    if (m_size > 0 && time < Time(m_size - 1))
        m_ascending = false;
    Chunk& chunk = *m_chunks[m_size >> kChunkBits];
    chunk.time[m_size & kChunkMask] = time;
    chunk.value[m_size & kChunkMask] = value;
    if (m_size == 0 || value < m_min)
        m_min = value;
    if (m_size == 0 || value > m_max)
        m_max = value;
    ++m_size;
    if ((m_size & ((std::size_t(1) << kBaseBits) - 1)) == 0)
        Summarise();
}

void ChartSeries::Summarise() {
    // A base block has just been completed; pairs of blocks complete the
    // levels above it in turn.
    const std::size_t base = std::size_t(1) << kBaseBits;
    Extremes e{Value(m_size - base), Value(m_size - base)};
    for (std::size_t i = m_size - base + 1; i < m_size; ++i) {
        e.lo = std::min(e.lo, Value(i));
        e.hi = std::max(e.hi, Value(i));
    }
    for (std::size_t k = 0;; ++k) {
        if (k == m_levels.size())
            m_levels.emplace_back();
        std::vector<Extremes>& level = m_levels[k];
        level.push_back(e);
        if (level.size() % 2 != 0)
            break;
        const Extremes& a = level[level.size() - 2];
        e = Extremes{std::min(a.lo, e.lo), std::max(a.hi, e.hi)};
    }
}

void ChartSeries::Clear() {
    m_chunks.clear();
    m_levels.clear();
    m_size = 0;
    m_ascending = true;
    m_min = m_max = 0.0;
    m_columns = ColumnCache{};
}

std::size_t ChartSeries::LowerBound(double time) const {
    return LowerBoundIn(0, m_size, time);
}

std::size_t ChartSeries::LowerBoundIn(std::size_t lo, std::size_t hi, double time) const {
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (Time(mid) < time)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

std::size_t ChartSeries::UpperBound(double time) const {
    std::size_t lo = 0, hi = m_size;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (Time(mid) <= time)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool ChartSeries::RangeMinMax(std::size_t first, std::size_t last, double* lo, double* hi) const {
    last = std::min(last, m_size);
    if (first >= last)
        return false;
    constexpr std::size_t base = std::size_t(1) << kBaseBits;
    double mn = Value(first), mx = mn;
    auto scan = [&](std::size_t i) {
        const double v = Value(i);
        mn = std::min(mn, v);
        mx = std::max(mx, v);
    };
    std::size_t i = first;
    while (i < last && (i & (base - 1)) != 0)
        scan(i++);
    // Whole blocks: at each step the largest summarised block that starts at
    // i and ends by `last`.
    while (i + base <= last && !m_levels.empty() && (i >> kBaseBits) < m_levels[0].size()) {
        const std::size_t block = i >> kBaseBits;
        std::size_t k = block == 0 ? m_levels.size() - 1
                                   : std::min<std::size_t>(std::size_t(__builtin_ctzll(block)),
                                                           m_levels.size() - 1);
        while (k > 0 && (i + (base << k) > last || (block >> k) >= m_levels[k].size()))
            --k;
        const Extremes& e = m_levels[k][block >> k];
        mn = std::min(mn, e.lo);
        mx = std::max(mx, e.hi);
        i += base << k;
    }
    while (i < last)
        scan(i++);
    *lo = mn;
    *hi = mx;
    return true;
}

std::size_t ChartSeries::SearchNear(std::size_t first, std::size_t last, std::size_t hint,
                                    double time) const {
    // Steps out from the hint, doubling, until the answer is fenced; then
    // halves. Evenly spaced points need a few steps only.
    hint = std::clamp(hint, first, last);
    std::size_t lo = first, hi = last, step = 1;
    if (hint < last && Time(hint) < time) {
        lo = hint + 1;
        while (lo + step - 1 < last && Time(lo + step - 1) < time) {
            lo += step;
            step *= 2;
        }
        hi = std::min(last, lo + step - 1);
    } else {
        hi = hint;
        while (hi - first >= step && Time(hi - step) >= time) {
            hi -= step;
            step *= 2;
        }
        lo = hi - first >= step ? hi - step + 1 : first;
    }
    return LowerBoundIn(lo, hi, time);
}

const std::vector<ChartColumn>& ChartSeries::Columns(double start, double end, double step) const {
    ColumnCache& cache = m_columns;
    if (cache.valid && cache.size == m_size && cache.start == start && cache.end == end &&
        cache.step == step)
        return cache.columns;
    cache.valid = true;
    cache.size = m_size;
    cache.start = start;
    cache.end = end;
    cache.step = step;
    cache.columns.clear();
    if (!(step > 0.0) || !(end >= start) || !m_ascending)
        return cache.columns;
    // A bound on the count; past it the last column takes the rest.
    constexpr double kMaxColumns = 1 << 20;
    const std::size_t count =
        std::size_t(std::min(std::floor((end - start) / step), kMaxColumns)) + 1;
    cache.columns.reserve(count);
    const std::size_t last = UpperBound(end);
    std::size_t i = LowerBound(start);
    std::size_t width = 1; // the points of the column before: where to look first
    for (std::size_t c = 0; c < count; ++c) {
        const std::size_t j =
            c + 1 < count ? SearchNear(i, last, i + width, start + double(c + 1) * step) : last;
        width = std::max<std::size_t>(1, j - i);
        ChartColumn column;
        column.first = i;
        column.last = j;
        if (RangeMinMax(i, j, &column.lo, &column.hi)) {
            column.firstTime = Time(i);
            column.firstValue = Value(i);
            column.lastTime = Time(j - 1);
            column.lastValue = Value(j - 1);
        }
        cache.columns.push_back(column);
        i = j;
    }
    return cache.columns;
}

std::size_t ChartSeries::MemoryBytes() const {
    std::size_t bytes = m_chunks.size() * sizeof(Chunk);
    for (const auto& level : m_levels)
        bytes += level.capacity() * sizeof(Extremes);
    return bytes;
}
