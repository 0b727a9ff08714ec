#include "stripchart/ChartModel.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMinWindow = 1.0 / 1440.0; // a minute
constexpr int kMaxCount = 1000;

int Clamp(int count) {
    return std::clamp(count, 0, kMaxCount);
}
} // namespace

ChartModel::ChartModel() {
    SetSeriesCount(1);
    SetAxisCount(1);
}

void ChartModel::SetSeriesCount(int count) {
    count = Clamp(count);
    m_styles.resize(std::size_t(count));
    m_series.resize(std::size_t(count));
}

void ChartModel::SetAxisCount(int count) {
    m_axes.resize(std::size_t(Clamp(count)));
}

void ChartModel::SetTextCount(int count) {
    m_texts.resize(std::size_t(Clamp(count)));
}

ChartSeriesStyle* ChartModel::Style(int s) {
    return s >= 0 && s < SeriesCount() ? &m_styles[std::size_t(s)] : nullptr;
}
const ChartSeriesStyle* ChartModel::Style(int s) const {
    return s >= 0 && s < SeriesCount() ? &m_styles[std::size_t(s)] : nullptr;
}
ChartSeries* ChartModel::Points(int s) {
    return s >= 0 && s < SeriesCount() ? &m_series[std::size_t(s)] : nullptr;
}
const ChartSeries* ChartModel::Points(int s) const {
    return s >= 0 && s < SeriesCount() ? &m_series[std::size_t(s)] : nullptr;
}
ChartAxis* ChartModel::Axis(int a) {
    return a >= 0 && a < AxisCount() ? &m_axes[std::size_t(a)] : nullptr;
}
const ChartAxis* ChartModel::Axis(int a) const {
    return a >= 0 && a < AxisCount() ? &m_axes[std::size_t(a)] : nullptr;
}
ChartText* ChartModel::Text(int t) {
    return t >= 0 && t < TextCount() ? &m_texts[std::size_t(t)] : nullptr;
}
const ChartText* ChartModel::Text(int t) const {
    return t >= 0 && t < TextCount() ? &m_texts[std::size_t(t)] : nullptr;
}

void ChartModel::AddPoint(int series, double time, double value) {
    if (ChartSeries* s = Points(series))
        s->Add(time, value);
}

void ChartModel::ClearSeries(int series) {
    if (ChartSeries* s = Points(series))
        s->Clear();
}

double ChartModel::SeriesMin(int series) const {
    const ChartSeries* s = Points(series);
    return s ? s->Min() : 0.0;
}

double ChartModel::SeriesMax(int series) const {
    const ChartSeries* s = Points(series);
    return s ? s->Max() : 0.0;
}

double ChartModel::ValueAt(int series, double time) const {
    const ChartSeries* s = Points(series);
    const ChartSeriesStyle* style = Style(series);
    if (!s || s->Empty() || !std::isfinite(time))
        return 0.0;
    const std::size_t n = s->Size();
    if (!s->Ascending()) {
        // Drawn in insertion order: the value of the last point at or before
        // the time, else the first point.
        double best = s->Value(0);
        double bestTime = -INFINITY;
        for (std::size_t i = 0; i < n; ++i)
            if (s->Time(i) <= time && s->Time(i) >= bestTime) {
                bestTime = s->Time(i);
                best = s->Value(i);
            }
        return best;
    }
    if (time <= s->Time(0))
        return s->Value(0);
    if (time >= s->Time(n - 1))
        return s->Value(n - 1);
    const std::size_t after = s->UpperBound(time); // 1 .. n-1
    const std::size_t before = after - 1;
    if (style->mode == 2)
        return s->Value(before);
    const double t0 = s->Time(before), t1 = s->Time(after);
    if (t1 <= t0)
        return s->Value(after);
    const double f = (time - t0) / (t1 - t0);
    return s->Value(before) + f * (s->Value(after) - s->Value(before));
}

void ChartModel::DrawnWindow(double* start, double* end) const {
    double a = windowStart, b = windowEnd;
    if (!std::isfinite(a) || !std::isfinite(b))
        a = 0.0, b = 1.0;
    if (b < a)
        std::swap(a, b);
    if (b - a < kMinWindow) {
        const double mid = (a + b) / 2;
        a = mid - kMinWindow / 2;
        b = mid + kMinWindow / 2;
    }
    *start = a;
    *end = b;
}

double ChartModel::CursorTime() const {
    if (cursorShown)
        return cursorTime;
    return (windowStart + windowEnd) / 2;
}
