// StripChart: our strip-chart control. Series of (time, value) points
// against one time axis in OLE dates, stacked y axes, text objects placed at
// fractions of the control, and a cursor. The user places and moves the
// cursor with the left button, pans with the right or middle button and
// stretches the time window with the wheel; each of these is reported to
// one listener.
#pragma once

#include <QWidget>
#include <string>

#include "stripchart/ChartModel.h"
#include "stripchart/ChartPainter.h"

class QPaintDevice;
class QPainter;

// Receives the chart's events. Buttons: 1 left, 2 right, 4 middle; shift
// bits: 1 Shift, 2 Ctrl, 4 Alt.
class StripChartListener {
public:
    virtual ~StripChartListener() = default;
    virtual void OnChartCursor(double time) = 0;
    virtual void OnChartRangeChanged() = 0;
    virtual void OnChartMouseDown(short button, short shift, int x, int y) = 0;
    virtual void OnChartMouseUp(short button, short shift, int x, int y) = 0;
};

class StripChart : public QWidget {
public:
    explicit StripChart(QWidget* parent = nullptr);

    void SetListener(StripChartListener* listener) { m_listener = listener; }
    ChartModel& Model() { return m_model; }
    const ChartModel& Model() const { return m_model; }

    // Repaints unless painting is suspended.
    void Changed();
    // Repaints now (or when painting resumes).
    void Redraw();
    // Paints the chart into `area` of any painter, sized by `scale`.
    void Render(QPainter& painter, const QRectF& area, double scale = 1.0) const;
    // Paints on a printer's (or any device's) painter: left, top, width and
    // height in inches from the device's printable origin.
    void Print(QPainter& painter, double left, double top, double width, double height) const;
    // The device area and the scale a print uses: the chart as on the
    // screen, enlarged to fill the area one way and to reach it the other.
    bool PrintArea(const QPaintDevice& device, double left, double top, double width, double height,
                   QRectF* area, double* scale) const;
    // A read-only summary of the chart's settings.
    std::string PropertiesSummary() const;

    // Thinning of dense series (on by default; off only to compare).
    void SetThinning(bool on) { m_options.thinned = on; }

    // Removes the cursor (0) or allows it again.
    void EnableCursor(bool enable);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    double TimeAt(double x) const;
    void PlaceCursor(double x);

    ChartModel m_model;
    ChartPaintOptions m_options;
    StripChartListener* m_listener = nullptr;
    Qt::MouseButton m_dragButton = Qt::NoButton;
    double m_panStartX = 0.0;
    double m_panStart = 0.0, m_panEnd = 0.0;
    bool m_panned = false;
};
