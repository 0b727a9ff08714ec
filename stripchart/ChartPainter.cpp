#include "stripchart/ChartPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "stripchart/ChartLayout.h"
#include "stripchart/ChartModel.h"

namespace {

QColor ColorOf(std::uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

void PaintAxes(QPainter& p, const ChartLayout& layout, bool grid, double scale) {
    for (const ChartTrack& t : layout.tracks) {
        p.setPen(QPen(Qt::black, scale));
        p.drawRect(t.rect);
    }
    for (const QLineF& line : layout.yTicks) {
        if (grid) {
            p.setPen(QPen(QColor(200, 200, 200), scale, Qt::DotLine));
            p.drawLine(line);
        }
        p.setPen(QPen(Qt::black, scale));
        p.drawLine(QPointF(line.x1() - 4 * scale, line.y1()), line.p1());
    }
    const double bottom = layout.plot.bottom();
    for (double x : layout.timeTicks)
        p.drawLine(QPointF(x, bottom), QPointF(x, bottom + 4 * scale));
    for (const ChartLabel& label : layout.axisLabels)
        p.drawText(label.origin, label.text);
}

// A vertical stroke over one pixel column: x, then the y of its ends.
struct ColumnStroke {
    double x = 0.0, top = 0.0, bottom = 0.0;
};

// The curve of one series as line segments and column strokes, with the
// points to mark.
struct SeriesGeometry {
    std::vector<QLineF> lines;
    std::vector<ColumnStroke> strokes;
    std::vector<QPointF> marks;
    bool any = false;
    QPointF last;

    // Continues the curve to (x, y); a step holds the last value until x.
    void To(double x, double y, bool steps) {
        if (!any) {
            any = true;
        } else if (steps) {
            lines.emplace_back(last, QPointF(x, last.y()));
            lines.emplace_back(QPointF(x, last.y()), QPointF(x, y));
        } else {
            lines.emplace_back(last, QPointF(x, y));
        }
        last = QPointF(x, y);
    }
};

// The stroke over one column's values, held back until the next column
// shows whether the join between them belongs in it.
struct PendingStroke {
    bool has = false;
    std::size_t col = 0;
    ColumnStroke stroke;
    void Extend(double y) {
        stroke.top = std::min(stroke.top, y);
        stroke.bottom = std::max(stroke.bottom, y);
    }
};

void FlushStroke(SeriesGeometry& g, PendingStroke& pending) {
    if (pending.has && pending.stroke.bottom > pending.stroke.top)
        g.strokes.push_back(pending.stroke);
    pending.has = false;
}

// The curve over the window. Thinned, each pixel column holding several
// points gives its first and last point and one vertical stroke over their
// extremes; the series keeps its columns between repaints, so the cost
// follows the columns, not the points.
SeriesGeometry BuildGeometry(const ChartSeries& s, const ChartSeriesStyle& style,
                             const ChartTrack& t, double ws, double we, bool thinned) {
    SeriesGeometry g;
    const QRectF& r = t.rect;
    const double span = we - ws;
    auto X = [&](double time) { return r.left() + (time - ws) / span * r.width(); };
    const bool steps = style.mode == 2;
    const bool marks = style.points;
    const std::size_t n = s.Size();
    if (n == 0)
        return g;
    if (!s.Ascending()) {
        for (std::size_t i = 0; i < n; ++i) {
            g.To(std::clamp(X(s.Time(i)), r.left() - 1e6, r.right() + 1e6), t.Y(s.Value(i)), steps);
            if (marks)
                g.marks.push_back(g.last);
        }
        return g;
    }
    const std::size_t i0 = s.LowerBound(ws), i1 = s.UpperBound(we);
    // The neighbours outside the window, cut at the window's edges.
    if (i0 > 0) {
        const std::size_t a = i0 - 1;
        double v = s.Value(a);
        if (!steps && i0 < n && s.Time(i0) > s.Time(a))
            v += (ws - s.Time(a)) / (s.Time(i0) - s.Time(a)) * (s.Value(i0) - v);
        g.To(r.left() - 1, t.Y(v), steps);
    }
    auto point = [&](std::size_t i) {
        g.To(X(s.Time(i)), t.Y(s.Value(i)), steps);
        if (marks)
            g.marks.push_back(g.last);
    };
    if (!thinned) {
        for (std::size_t i = i0; i < i1; ++i)
            point(i);
    } else {
        const double colWidth = span / std::max(1.0, r.width());
        const std::vector<ChartColumn>& columns = s.Columns(ws, we, colWidth);
        PendingStroke pending;
        for (std::size_t col = 0; col < columns.size(); ++col) {
            const ChartColumn& c = columns[col];
            if (c.last - c.first <= 4) {
                // A few points: drawn as they are.
                if (c.last > c.first)
                    FlushStroke(g, pending);
                for (std::size_t i = c.first; i < c.last; ++i)
                    point(i);
                continue;
            }
            const double xFirst = X(c.firstTime), yFirst = t.Y(c.firstValue);
            double yTop = t.Y(c.hi), yBottom = t.Y(c.lo);
            const double xMid = X(ws + (double(col) + 0.5) * colWidth);
            if (pending.has && col == pending.col + 1) {
                // Neighbouring columns of many points: the join between them
                // is cut at their border and each part goes into its
                // column's one stroke.
                double yJoin = g.last.y();
                if (!steps && xFirst > g.last.x()) {
                    const double xb = X(ws + double(col) * colWidth);
                    yJoin += (xb - g.last.x()) / (xFirst - g.last.x()) * (yFirst - g.last.y());
                }
                pending.Extend(yJoin);
                FlushStroke(g, pending);
                yTop = std::min(yTop, yJoin);
                yBottom = std::max(yBottom, yJoin);
            } else {
                FlushStroke(g, pending);
                g.To(xFirst, yFirst, steps);
            }
            pending = PendingStroke{true, col, ColumnStroke{xMid, yTop, yBottom}};
            g.any = true;
            g.last = QPointF(X(c.lastTime), t.Y(c.lastValue));
            if (marks) {
                g.marks.emplace_back(xFirst, yFirst);
                g.marks.push_back(g.last);
            }
        }
        FlushStroke(g, pending);
    }
    // On to the neighbour after the window, cut at the window's edge; a
    // step holds the last value before it.
    if (i1 < n && i1 > 0) {
        const std::size_t b = i1 - 1;
        double v = s.Value(b);
        if (!steps && s.Time(i1) > s.Time(b))
            v += (we - s.Time(b)) / (s.Time(i1) - s.Time(b)) * (s.Value(i1) - v);
        else if (!steps)
            v = s.Value(i1);
        g.To(r.right() + 1, t.Y(v), steps);
    }
    return g;
}

// The pixels of the column strokes (each the pixels a one-pixel vertical
// line sets, `width` columns wide) as rectangles: rows that neighbouring
// columns share go into one wide rectangle, so that filling costs rows of
// the union rather than rows of every column.
std::vector<QRect> StrokeRects(const std::vector<ColumnStroke>& strokes, int width) {
    struct Open {
        int top, bottom, x; // rows top..bottom, from pixel column x
    };
    std::vector<QRect> rects;
    std::vector<Open> open, next;
    int lastX = 0;
    auto close = [&](const Open& o, int top, int bottom) {
        if (bottom >= top)
            rects.emplace_back(o.x, top, lastX + width - o.x, bottom - top + 1);
    };
    for (const ColumnStroke& stroke : strokes) {
        const int x = int(std::floor(stroke.x)) - (width - 1) / 2;
        const int top = int(std::floor(stroke.top)), bottom = int(std::floor(stroke.bottom));
        next.clear();
        if (!open.empty() && x != lastX + 1) {
            for (const Open& o : open)
                close(o, o.top, o.bottom);
            open.clear();
        }
        // Open runs keep the rows this column shares; the rest end here.
        int covered = top; // rows top..covered-1 are taken by open runs
        for (const Open& o : open) {
            const int a = std::max(o.top, top), b = std::min(o.bottom, bottom);
            if (a > b) {
                close(o, o.top, o.bottom);
                continue;
            }
            close(o, o.top, a - 1);
            close(o, b + 1, o.bottom);
            if (a > covered)
                next.push_back(Open{covered, a - 1, x});
            next.push_back(Open{a, b, o.x});
            covered = b + 1;
        }
        if (covered <= bottom)
            next.push_back(Open{covered, bottom, x});
        open.swap(next);
        lastX = x;
    }
    for (const Open& o : open)
        close(o, o.top, o.bottom);
    return rects;
}

// Fills between the curve and zero, one pixel column at a time: each column
// from the baseline to the far side of the curve's extent over it.
void FillUnderCurve(QPainter& p, const SeriesGeometry& g, const ChartTrack& t,
                    const QColor& color) {
    const QRectF& r = t.rect;
    const int first = int(std::floor(r.left())), count = int(std::ceil(r.right())) - first + 1;
    if (count <= 0 || (g.lines.empty() && g.strokes.empty()))
        return;
    std::vector<double> top(std::size_t(count), INFINITY), bottom(std::size_t(count), -INFINITY);
    auto cover = [&](int c, double y0, double y1) {
        if (c < 0 || c >= count)
            return;
        top[std::size_t(c)] = std::min({top[std::size_t(c)], y0, y1});
        bottom[std::size_t(c)] = std::max({bottom[std::size_t(c)], y0, y1});
    };
    for (const QLineF& line : g.lines) {
        QPointF a = line.p1(), b = line.p2();
        if (a.x() > b.x())
            std::swap(a, b);
        const double left = std::max(a.x(), r.left() - 1), right = std::min(b.x(), r.right() + 1);
        if (right < left)
            continue;
        if (b.x() == a.x()) {
            cover(int(std::floor(a.x())) - first, a.y(), b.y());
            continue;
        }
        auto yAt = [&](double x) {
            return a.y() + (x - a.x()) / (b.x() - a.x()) * (b.y() - a.y());
        };
        const int c0 = std::max(0, int(std::floor(left)) - first);
        const int c1 = std::min(count - 1, int(std::floor(right)) - first);
        for (int c = c0; c <= c1; ++c) {
            const double x0 = std::max(left, double(first + c));
            const double x1 = std::min(right, double(first + c + 1));
            cover(c, yAt(x0), yAt(x1));
        }
    }
    for (const ColumnStroke& stroke : g.strokes)
        cover(int(std::floor(stroke.x)) - first, stroke.top, stroke.bottom);
    const double base = std::clamp(t.Y(0.0), r.top(), r.bottom());
    for (int c = 0; c < count; ++c) {
        if (top[std::size_t(c)] > bottom[std::size_t(c)])
            continue;
        const double y0 = std::min(top[std::size_t(c)], base);
        const double y1 = std::max(bottom[std::size_t(c)], base);
        p.fillRect(QRectF(first + c, y0, 1, y1 - y0), color);
    }
}

void PaintSeries(QPainter& p, const ChartModel& m, int index, const std::vector<ChartTrack>& tracks,
                 double ws, double we, const ChartPaintOptions& o) {
    const ChartSeriesStyle* style = m.Style(index);
    const ChartSeries* s = m.Points(index);
    if (!style || !s || !style->visible || s->Empty())
        return;
    if (style->yAxis < 0 || style->yAxis >= int(tracks.size()) || style->yAxis >= m.AxisCount())
        return;
    const ChartTrack& t = tracks[std::size_t(style->yAxis)];
    const SeriesGeometry g = BuildGeometry(*s, *style, t, ws, we, o.thinned);
    if (!g.any)
        return;
    p.save();
    p.setClipRect(t.rect);
    const QColor color = ColorOf(style->color);
    if (style->fill)
        FillUnderCurve(p, g, t, color);
    // A wide line is drawn as parallel one-pixel lines, side by side for
    // steep lines and stacked for flat ones: the raster engine's fast path.
    const int width = std::max(1, int(std::lround(std::clamp(style->lineWidth, 1, 20) * o.scale)));
    p.setPen(QPen(color, 0));
    p.setBrush(Qt::NoBrush);
    if (g.lines.empty() && g.strokes.empty()) {
        // A lone point: a square mark of the series' width.
        const double side = std::max(5.0 * o.scale, 2.0 * width);
        p.fillRect(QRectF(g.last.x() - side / 2, g.last.y() - side / 2, side, side), color);
    } else {
        // Column strokes as filled rectangles over the pixels a one-pixel
        // line would set, widened as the lines are; one call for them all.
        if (!g.strokes.empty()) {
            const std::vector<QRect> rects = StrokeRects(g.strokes, width);
            p.setPen(Qt::NoPen);
            p.setBrush(color);
            p.drawRects(rects.data(), int(rects.size()));
            p.setPen(QPen(color, 0));
            p.setBrush(Qt::NoBrush);
        }
        p.drawLines(g.lines.data(), int(g.lines.size()));
        std::vector<QLineF> shifted(g.lines.size());
        for (int k = 1; k < width; ++k) {
            const double d = (k % 2 ? 1.0 : -1.0) * ((k + 1) / 2);
            for (std::size_t n = 0; n < g.lines.size(); ++n) {
                const QLineF& l = g.lines[n];
                const bool steep = std::fabs(l.dy()) > std::fabs(l.dx());
                shifted[n] = steep ? l.translated(d, 0) : l.translated(0, d);
            }
            p.drawLines(shifted.data(), int(shifted.size()));
        }
    }
    if (style->points) {
        const double ps = std::isfinite(style->pointSize) ? style->pointSize : 0.005;
        const double size = std::clamp(ps * t.rect.width(), 2.0 * o.scale, 20.0 * o.scale);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        for (const QPointF& pt : g.marks)
            p.drawRect(QRectF(pt.x() - size / 2, pt.y() - size / 2, size, size));
    }
    p.restore();
}

} // namespace

QRectF PlotRect(const ChartModel& m, const QRectF& area) {
    return LayoutChart(m, area, 1.0).plot;
}

double TimeAtX(const ChartModel& m, const QRectF& area, double x) {
    const QRectF plot = PlotRect(m, area);
    double ws, we;
    m.DrawnWindow(&ws, &we);
    if (plot.width() <= 0)
        return (ws + we) / 2;
    const double f = std::clamp((x - plot.left()) / plot.width(), 0.0, 1.0);
    return ws + f * (we - ws);
}

void PaintChart(QPainter& p, const ChartModel& m, const QRectF& area, const ChartPaintOptions& o) {
    p.save();
    p.setClipRect(area);
    p.fillRect(area, Qt::white);
    const ChartLayout layout = LayoutChart(m, area, o.scale);
    p.setFont(layout.font);
    const QRectF& plot = layout.plot;
    double ws, we;
    m.DrawnWindow(&ws, &we);
    PaintAxes(p, layout, m.grid, o.scale);
    for (int s = 0; s < m.SeriesCount(); ++s)
        PaintSeries(p, m, s, layout.tracks, ws, we, o);
    if (m.cursorShown && m.cursorTime >= ws && m.cursorTime <= we) {
        const double x = plot.left() + (m.cursorTime - ws) / (we - ws) * plot.width();
        p.setPen(QPen(Qt::black, o.scale, Qt::DashLine));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    for (int i = 0; i < m.TextCount() && i < int(layout.texts.size()); ++i) {
        const ChartLabel& t = layout.texts[std::size_t(i)];
        if (t.text.isEmpty())
            continue;
        p.setPen(ColorOf(m.Text(i)->color));
        p.drawText(t.origin, t.text);
    }
    p.restore();
}
