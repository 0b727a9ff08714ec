// Where the strip chart puts things: the font for the control's size, the
// plot area with its stacked tracks, the axis labels and the text objects.
// Text objects start at their fractions of the control (alignment 0: left
// edge at x; 2: centred on x) and move as little as they must to stay
// inside the control and clear of each other and of the axes' labels.
#pragma once

#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

class ChartModel;

struct ChartTrack {
    QRectF rect;
    double lo = 0.0, hi = 1.0;
    // The y of value v (far outside the track only its direction counts).
    double Y(double v) const;
};

// A piece of text as drawn: its baseline start and the rectangle its ink covers.
struct ChartLabel {
    QString text;
    QPointF origin;
    QRectF ink;
};

struct ChartLayout {
    QFont font;
    QRectF plot;
    std::vector<ChartTrack> tracks;
    std::vector<QLineF> yTicks;    // one per y label, across its track
    std::vector<double> timeTicks; // x of each time tick
    std::vector<ChartLabel> axisLabels;
    std::vector<ChartLabel> texts; // by text object; empty text: not drawn
};

// The texts' font for a control `width` x `height` screen pixels; `scale`:
// device pixels per screen pixel. For a given width it is largest where the
// height does not limit it (an infinite height).
QFont ChartFont(double width, double height, double scale = 1.0);

// `scale`: device pixels per screen pixel.
ChartLayout LayoutChart(const ChartModel& model, const QRectF& area, double scale);
