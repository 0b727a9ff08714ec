#include "stripchart/ChartLayout.h"

#include <QFontMetricsF>
#include <QSizeF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/OleDate.h"
#include "stripchart/ChartModel.h"

namespace {

double Fraction(double f, double fallback) {
    return std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : fallback;
}

// The drawn range of an axis: ordered, finite and not empty.
void AxisRange(const ChartAxis* axis, double* lo, double* hi) {
    double a = axis ? axis->min : 0.0, b = axis ? axis->max : 1.0;
    if (!std::isfinite(a))
        a = 0.0;
    if (!std::isfinite(b))
        b = a + 1.0;
    if (!(b > a)) {
        b = a + 0.5;
        a = a - 0.5;
    }
    *lo = a;
    *hi = b;
}

double NiceStep(double raw) {
    if (!(raw > 0) || !std::isfinite(raw))
        return 1.0;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * p >= raw)
            return f * p;
    return 10.0 * p;
}

std::vector<ChartTrack> Tracks(const ChartModel& m, const QRectF& plot) {
    const int n = std::max(1, m.AxisCount());
    double gap = std::isfinite(m.axisGap) ? std::max(0.0, m.axisGap) : 0.0;
    if (gap * (n - 1) > 0.9)
        gap = 0.0;
    const double gapPx = gap * plot.height();
    const double h = (plot.height() - gapPx * (n - 1)) / n;
    std::vector<ChartTrack> tracks;
    for (int k = 0; k < n; ++k) {
        ChartTrack t;
        t.rect = QRectF(plot.left(), plot.top() + k * (h + gapPx), plot.width(), h);
        AxisRange(m.Axis(k), &t.lo, &t.hi);
        tracks.push_back(t);
    }
    return tracks;
}

ChartLabel Label(const QFontMetricsF& fm, const QString& text, QPointF origin) {
    return {text, origin, fm.tightBoundingRect(text).translated(origin)};
}

// What a placed text or the axes' block takes up: its ink, and the middle
// of its line (not a number for the block).
struct Taken {
    QRectF ink;
    double line;
};

// How texts keep apart: `gap` between inks; texts whose lines lie less than
// `row` apart are in one row, one after the other.
struct Spacing {
    QSizeF gap;
    double row;
};

bool Clear(const QRectF& r, double line, const QRectF& bounds, const std::vector<Taken>& taken,
           const Spacing& s) {
    const double e = 1e-6;
    if (r.left() < bounds.left() - e || r.top() < bounds.top() - e ||
        r.right() > bounds.right() + e || r.bottom() > bounds.bottom() + e)
        return false;
    const double gx = s.gap.width() * 0.999, gy = s.gap.height() * 0.999;
    for (const Taken& t : taken) {
        const QRectF near = t.ink.adjusted(-gx, -gy, gx, gy);
        if (r.intersects(near))
            return false;
        if (std::fabs(t.line - line) < s.row * 0.999 && r.right() > near.left() &&
            r.left() < near.right())
            return false;
    }
    return true;
}

// The smallest move of a text that keeps it inside `bounds` and clear of
// `taken`; a move off its row costs far more than one along it.
QPointF NearestClearMove(const QRectF& ink, double line, const QRectF& bounds,
                         const std::vector<Taken>& taken, const Spacing& s) {
    std::vector<double> dxs{0.0, bounds.left() - ink.left(), bounds.right() - ink.right()};
    std::vector<double> dys{0.0, bounds.top() - ink.top(), bounds.bottom() - ink.bottom()};
    for (const Taken& t : taken) {
        dxs.push_back(t.ink.right() + s.gap.width() - ink.left());
        dxs.push_back(t.ink.left() - s.gap.width() - ink.right());
        dys.push_back(t.ink.bottom() + s.gap.height() - ink.top());
        dys.push_back(t.ink.top() - s.gap.height() - ink.bottom());
        if (std::isfinite(t.line)) {
            dys.push_back(t.line + s.row - line);
            dys.push_back(t.line - s.row - line);
        }
    }
    double best = std::numeric_limits<double>::infinity();
    QPointF move;
    for (double dx : dxs)
        for (double dy : dys) {
            const double cost = std::fabs(dx) + 200.0 * std::fabs(dy);
            if (cost < best && Clear(ink.translated(dx, dy), line + dy, bounds, taken, s)) {
                best = cost;
                move = QPointF(dx, dy);
            }
        }
    if (std::isfinite(best))
        return move;
    // No room anywhere: at least inside the control.
    const double dx =
        std::clamp(0.0, bounds.left() - ink.left(),
                   std::max(bounds.left() - ink.left(), bounds.right() - ink.right()));
    const double dy =
        std::clamp(0.0, bounds.top() - ink.top(),
                   std::max(bounds.top() - ink.top(), bounds.bottom() - ink.bottom()));
    return QPointF(dx, dy);
}

// Texts nearer an edge keep their place first: the right half from the
// right edge inwards (by their left ends), then the left half from the left
// edge outwards. `lineShift`: from a text's baseline up to its line's middle.
void PlaceTexts(std::vector<ChartLabel>& texts, const std::vector<int>& which, const QRectF& area,
                const QRectF& bounds, std::vector<Taken>& taken, const Spacing& s,
                double lineShift) {
    std::vector<int> right, left;
    for (int i : which)
        (texts[std::size_t(i)].ink.center().x() > area.center().x() ? right : left).push_back(i);
    auto key = [&](int i) { return texts[std::size_t(i)].ink; };
    std::stable_sort(right.begin(), right.end(), [&](int a, int b) {
        return key(a).left() > key(b).left() ||
               (key(a).left() == key(b).left() && key(a).top() < key(b).top());
    });
    std::stable_sort(left.begin(), left.end(), [&](int a, int b) {
        return key(a).left() < key(b).left() ||
               (key(a).left() == key(b).left() && key(a).top() < key(b).top());
    });
    for (const std::vector<int>* group : {&right, &left})
        for (int i : *group) {
            ChartLabel& t = texts[std::size_t(i)];
            const double line = t.origin.y() - lineShift;
            const QPointF move = NearestClearMove(t.ink, line, bounds, taken, s);
            t.origin += move;
            t.ink.translate(move);
            taken.push_back({t.ink, line + move.y()});
        }
}

struct TimeTicks {
    std::vector<double> at;
    const char* format = "";
    bool twoLines = false;
};

// Time ticks: a step from a ladder, whole months and years on the calendar.
TimeTicks ChooseTimeTicks(const ChartModel& m, double ws, double we, int maxTicks) {
    TimeTicks r;
    const double span = we - ws;
    static const double kSteps[] = {1 / 1440.0,  2 / 1440.0, 5 / 1440.0, 10 / 1440.0, 15 / 1440.0,
                                    30 / 1440.0, 1 / 24.0,   2 / 24.0,   3 / 24.0,    6 / 24.0,
                                    12 / 24.0,   1,          2,          7,           14};
    double step = 0;
    for (double s : kSteps)
        if (span / s <= maxTicks) {
            step = s;
            break;
        }
    r.format = m.timeFormat[2].c_str();
    if (step > 0) {
        for (double t = std::ceil(ws / step - 1e-9) * step; t <= we + 1e-9 && r.at.size() < 200;
             t += step)
            r.at.push_back(t);
        r.twoLines = step < 1;
        if (step >= 7)
            r.format = m.timeFormat[3].c_str();
        return r;
    }
    OleDateFields f;
    OleDateToFields(ws, &f);
    int months = 1;
    for (int mm : {1, 3, 6, 12, 24, 60, 120, 600, 1200}) {
        months = mm;
        if (span / (30.4 * mm) <= maxTicks)
            break;
    }
    r.format = months >= 12 ? m.timeFormat[1].c_str() : m.timeFormat[3].c_str();
    int y = f.year, mo = f.month;
    if (months >= 12) {
        mo = 1;
        y -= y % (months / 12);
    } else {
        mo -= (mo - 1) % months;
    }
    for (int i = 0; i < 400 && r.at.size() < 200; ++i) {
        double t;
        if (!OleDateFromFields(y, mo, 1, 0, 0, 0, &t) || t > we)
            break;
        if (t >= ws)
            r.at.push_back(t);
        mo += months;
        y += (mo - 1) / 12;
        mo = (mo - 1) % 12 + 1;
    }
    return r;
}

QString YLabelText(double v, double step) {
    char label[32];
    std::snprintf(label, sizeof label, "%g", std::fabs(v) < step * 1e-9 ? 0.0 : v);
    return QString::fromLatin1(label);
}

// The values labelled on a track, at most one per two lines of text.
std::vector<double> YTickValues(const ChartTrack& t, double lineHeight) {
    const int maxTicks = std::clamp(int(t.rect.height() / (2.0 * lineHeight)), 1, 6);
    const double step = NiceStep((t.hi - t.lo) / maxTicks);
    std::vector<double> values;
    const double first = std::ceil(t.lo / step) * step;
    for (int i = 0; i < 50; ++i) {
        const double v = first + i * step;
        if (v > t.hi + step * 1e-9)
            break;
        values.push_back(std::fabs(v) < step * 1e-9 ? 0.0 : v);
    }
    return values;
}

// Font size in screen pixels for a chart of this size: 11 at the page's
// opening size, slower growth above it.
double ChartFontPixels(double width, double height) {
    const double s = std::min(width / 681.0, height / 366.0);
    if (!(s > 0) || !std::isfinite(s))
        return 6.0;
    return std::max(6.0, s >= 1.0 ? 11.0 * std::sqrt(s) : 11.0 * s);
}

// The step between a track's labelled values (1 for a single value).
double ValueStep(const std::vector<double>& values) {
    return values.size() > 1 ? values[1] - values[0] : 1.0;
}

} // namespace

QFont ChartFont(double width, double height, double scale) {
    QFont font("Sans Serif");
    font.setPixelSize(std::max(1, int(std::lround(scale * ChartFontPixels(width, height)))));
    return font;
}

double ChartTrack::Y(double v) const {
    const double y = rect.bottom() - (v - lo) / (hi - lo) * rect.height();
    const double reach = 20.0 * std::max(1.0, rect.height());
    return std::clamp(y, rect.top() - reach, rect.bottom() + reach);
}

ChartLayout LayoutChart(const ChartModel& m, const QRectF& area, double scale) {
    ChartLayout L;
    if (!(scale > 0) || !std::isfinite(scale))
        scale = 1.0;
    L.font = ChartFont(area.width() / scale, area.height() / scale, scale);
    const QFontMetricsF fm(L.font);
    const double gap = std::max(1.0, 0.15 * fm.averageCharWidth());
    const double tick = 4.0 * scale;
    const double W = area.width(), H = area.height();
    const QRectF inside = area.adjusted(gap, gap, -gap, -gap);
    const double labelHalf = fm.capHeight() / 2.0 + gap;

    double l = Fraction(m.plotLeft, 0.08), t = Fraction(m.plotTop, 0.11);
    double r = Fraction(m.plotRight, 0.98), b = Fraction(m.plotBottom, 0.92);
    if (r <= l)
        r = std::min(1.0, l + 0.01);
    if (b <= t)
        b = std::min(1.0, t + 0.01);

    // Every text at its own place first.
    L.texts.resize(std::size_t(m.TextCount()));
    std::vector<int> top, rest;
    for (int i = 0; i < m.TextCount(); ++i) {
        const ChartText* text = m.Text(i);
        const QString caption =
            QString::fromLatin1(text->caption.data(), int(text->caption.size()));
        if (caption.trimmed().isEmpty())
            continue;
        const double x = area.left() + Fraction(text->x, 0) * W;
        const double y = area.top() + Fraction(text->y, 0) * H;
        const double advance = fm.horizontalAdvance(caption);
        const QPointF origin(text->align == 2 ? x - advance / 2 : x,
                             y + (fm.ascent() - fm.descent()) / 2);
        L.texts[std::size_t(i)] = Label(fm, caption, origin);
        (Fraction(text->y, 0) < t ? top : rest).push_back(i);
    }
    // The texts above the plot area push its top down.
    std::vector<Taken> taken;
    const Spacing apart{QSizeF(fm.horizontalAdvance(QLatin1Char(' ')), gap), 0.6 * fm.height()};
    const double lineShift = (fm.ascent() - fm.descent()) / 2;
    PlaceTexts(L.texts, top, area, inside, taken, apart, lineShift);
    double plotTop = area.top() + t * H;
    for (const Taken& placed : taken)
        plotTop = std::max(plotTop, placed.ink.bottom() + gap + labelHalf);

    double ws, we;
    m.DrawnWindow(&ws, &we);
    // Room each time label wants along the axis.
    const double timeLabelRoom = fm.horizontalAdvance("30-Sep-2099") * 1.4;
    const int provisionalTicks = std::max(1, int((r - l) * W / timeLabelRoom));
    const bool twoLines = ChooseTimeTicks(m, ws, we, provisionalTicks).twoLines;
    const double timeBlock = tick + gap + (twoLines ? 2 : 1) * fm.height() + gap;
    double plotBottom = std::min(area.top() + b * H, area.bottom() - timeBlock);
    plotBottom = std::max(plotBottom, plotTop + 1.0);

    // The texts left of the plot area (the key, unit captions) take a
    // column of their own, then the value labels, then the plot.
    double column = area.left();
    for (int i : rest)
        if (Fraction(m.Text(i)->x, 0) < l)
            column =
                std::max(column, std::max(L.texts[std::size_t(i)].ink.right(),
                                          inside.left() + L.texts[std::size_t(i)].ink.width()));
    QRectF plot(QPointF(area.left() + l * W, plotTop), QPointF(area.left() + r * W, plotBottom));
    L.tracks = Tracks(m, plot);
    double labelWidth = 0.0;
    std::vector<std::vector<double>> values;
    for (const ChartTrack& track : L.tracks) {
        values.push_back(YTickValues(track, fm.height()));
        const double step = ValueStep(values.back());
        for (double v : values.back())
            labelWidth = std::max(labelWidth, fm.horizontalAdvance(YLabelText(v, step)));
    }
    const double labelRight =
        std::max(plot.left(), column + apart.gap.width() + 2 * gap + labelWidth + tick + gap) -
        tick - gap;
    plot.setLeft(labelRight + tick + gap);
    if (plot.width() < 1.0)
        plot.setRight(plot.left() + 1.0);
    L.plot = plot;
    L.tracks = Tracks(m, plot);
    const double labelLeft = labelRight - labelWidth;

    // Value labels, right-aligned beside their ticks; one that would touch
    // the one above it is left out.
    for (std::size_t k = 0; k < L.tracks.size(); ++k) {
        const ChartTrack& track = L.tracks[k];
        const double step = ValueStep(values[k]);
        for (auto v = values[k].rbegin(); v != values[k].rend(); ++v) {
            const double y = track.Y(*v);
            const QString text = YLabelText(*v, step);
            ChartLabel label = Label(
                fm, text, QPointF(labelRight - fm.horizontalAdvance(text), y + fm.capHeight() / 2));
            L.yTicks.emplace_back(track.rect.left(), y, track.rect.right(), y);
            bool clear = label.ink.top() >= inside.top() && label.ink.bottom() <= inside.bottom();
            for (const ChartLabel& other : L.axisLabels)
                clear = clear && !label.ink.intersects(other.ink.adjusted(-gap, -gap, gap, gap));
            if (clear)
                L.axisLabels.push_back(label);
        }
    }

    // Time labels under their ticks, kept between the value labels' column
    // and the right edge; one that would touch the one before is left out.
    const int maxTicks = std::max(1, int(plot.width() / timeLabelRoom));
    const TimeTicks ticks = ChooseTimeTicks(m, ws, we, maxTicks);
    const double span = we - ws;
    double lastRight = -std::numeric_limits<double>::infinity();
    for (double time : ticks.at) {
        const double x = plot.left() + (time - ws) / span * plot.width();
        L.timeTicks.push_back(x);
        QStringList lines;
        if (ticks.twoLines)
            lines << QString::fromLatin1(FormatOleDate(time, "%H:%M"));
        lines << QString::fromLatin1(FormatOleDate(time, ticks.format));
        double width = 0.0;
        for (const QString& line : lines)
            width = std::max(width, fm.horizontalAdvance(line));
        const double minLeft = std::min(labelLeft, plot.left()), maxRight = inside.right();
        double centre =
            std::clamp(x, minLeft + width / 2, std::max(minLeft + width / 2, maxRight - width / 2));
        if (centre - width / 2 < lastRight + 2 * gap)
            continue;
        double baseline = plot.bottom() + tick + gap + fm.ascent();
        for (const QString& line : lines) {
            const double w = fm.horizontalAdvance(line);
            L.axisLabels.push_back(Label(fm, line, QPointF(centre - w / 2, baseline)));
            baseline += fm.height();
        }
        lastRight = centre + width / 2;
    }

    // The other texts keep clear of the plot area and its labels.
    const QRectF axes(
        QPointF(std::min(labelLeft, plot.left() - tick) - gap, plot.top() - labelHalf),
        area.bottomRight());
    taken.push_back({axes, std::numeric_limits<double>::quiet_NaN()});
    PlaceTexts(L.texts, rest, area, inside, taken, apart, lineShift);
    return L;
}
