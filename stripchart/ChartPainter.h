// Paints a chart model onto any QPainter: the screen, a printer, a PDF or an
// image. Sizes follow `scale` (1.0 on the screen; device pixels per screen
// pixel when printing).
#pragma once

#include <QRectF>

class ChartModel;
class QPainter;

struct ChartPaintOptions {
    double scale = 1.0;
    // Off only for comparisons: every visible point drawn as it is.
    bool thinned = true;
};

void PaintChart(QPainter& painter, const ChartModel& model, const QRectF& area,
                const ChartPaintOptions& options = ChartPaintOptions());

// The plot area of a chart painted into `area`.
QRectF PlotRect(const ChartModel& model, const QRectF& area);
// The time under x in a chart painted into `area` (clamped to the plot area).
double TimeAtX(const ChartModel& model, const QRectF& area, double x);
