#include "stripchart/StripChart.h"

#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <cstdio>

#include "framework/OleDate.h"

namespace {

short ButtonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

short ShiftCode(Qt::KeyboardModifiers m) {
    return short(((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) |
                 ((m & Qt::AltModifier) ? 4 : 0));
}

} // namespace

StripChart::StripChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void StripChart::Changed() {
    if (!m_model.repaintSuspended)
        update();
}

void StripChart::Redraw() {
    update();
}

void StripChart::EnableCursor(bool enable) {
    m_model.cursorEnabled = enable;
    if (!enable)
        m_model.cursorShown = false;
    Changed();
}

void StripChart::Render(QPainter& painter, const QRectF& area, double scale) const {
    ChartPaintOptions o = m_options;
    o.scale = scale;
    PaintChart(painter, m_model, area, o);
}

bool StripChart::PrintArea(const QPaintDevice& device, double left, double top, double width,
                           double height, QRectF* area, double* scale) const {
    const double dpiX = device.logicalDpiX(), dpiY = device.logicalDpiY();
    auto inches = [](double v) { return std::isfinite(v) ? std::max(0.0, v) : 0.0; };
    *area = QRectF(inches(left) * dpiX, inches(top) * dpiY, inches(width) * dpiX,
                   inches(height) * dpiY);
    if (area->isEmpty())
        return false;
    // Sized as the chart on the screen, so that the page looks like it.
    QSizeF screen = size();
    if (screen.width() < 50 || screen.height() < 50)
        screen = area->size() * (96.0 / dpiY);
    *scale = std::min(area->width() / screen.width(), area->height() / screen.height());
    return *scale > 0;
}

void StripChart::Print(QPainter& painter, double left, double top, double width,
                       double height) const {
    QPaintDevice* device = painter.device();
    QRectF area;
    double scale = 1.0;
    if (device && PrintArea(*device, left, top, width, height, &area, &scale))
        Render(painter, area, scale);
}

std::string StripChart::PropertiesSummary() const {
    const ChartModel& m = m_model;
    std::string text;
    char line[200];
    std::snprintf(line, sizeof line, "Window: %s to %s\nSeries: %d, y axes: %d, texts: %d\n",
                  FormatOleDate(m.windowStart, "%#d-%b-%Y %H:%M:%S").c_str(),
                  FormatOleDate(m.windowEnd, "%#d-%b-%Y %H:%M:%S").c_str(), m.SeriesCount(),
                  m.AxisCount(), m.TextCount());
    text += line;
    for (int s = 0; s < m.SeriesCount(); ++s) {
        const ChartSeriesStyle* st = m.Style(s);
        std::snprintf(line, sizeof line,
                      "Series %d: %zu points, axis %d, colour %06X, width %d%s%s%s\n", s,
                      m.Points(s)->Size(), st->yAxis, unsigned(st->color), st->lineWidth,
                      st->visible ? "" : ", hidden", st->fill ? ", filled" : "",
                      st->mode == 2 ? ", steps" : "");
        text += line;
    }
    for (int a = 0; a < m.AxisCount(); ++a) {
        std::snprintf(line, sizeof line, "Axis %d: %g to %g\n", a, m.Axis(a)->min, m.Axis(a)->max);
        text += line;
    }
    return text;
}

void StripChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter, QRectF(rect()));
}

double StripChart::TimeAt(double x) const {
    return TimeAtX(m_model, QRectF(rect()), x);
}

void StripChart::PlaceCursor(double x) {
    if (!m_model.cursorEnabled)
        return;
    m_model.cursorTime = TimeAt(x);
    m_model.cursorShown = true;
    Changed();
    if (m_listener)
        m_listener->OnChartCursor(m_model.cursorTime);
}

void StripChart::mousePressEvent(QMouseEvent* event) {
    const short button = ButtonCode(event->button());
    if (button == 0)
        return;
    const QPointF pos = event->position();
    if (m_dragButton == Qt::NoButton) {
        m_dragButton = event->button();
        m_panStartX = pos.x();
        m_panStart = m_model.windowStart;
        m_panEnd = m_model.windowEnd;
        m_panned = false;
    }
    // Only the left button places the cursor; the others pan.
    if (button == 1)
        PlaceCursor(pos.x());
    if (m_listener)
        m_listener->OnChartMouseDown(button, ShiftCode(event->modifiers()), int(pos.x()),
                                     int(pos.y()));
}

void StripChart::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (m_dragButton == Qt::LeftButton && (event->buttons() & Qt::LeftButton)) {
        PlaceCursor(pos.x());
        return;
    }
    if ((m_dragButton == Qt::RightButton || m_dragButton == Qt::MiddleButton) &&
        (event->buttons() & m_dragButton)) {
        const QRectF plot = PlotRect(m_model, QRectF(rect()));
        if (plot.width() <= 0)
            return;
        double ws, we;
        m_model.windowStart = m_panStart;
        m_model.windowEnd = m_panEnd;
        m_model.DrawnWindow(&ws, &we);
        const double shift = (pos.x() - m_panStartX) / plot.width() * (we - ws);
        m_model.windowStart = m_panStart - shift;
        m_model.windowEnd = m_panEnd - shift;
        m_panned = m_panned || shift != 0.0;
        Changed();
    }
}

void StripChart::mouseReleaseEvent(QMouseEvent* event) {
    const short button = ButtonCode(event->button());
    if (button == 0)
        return;
    const QPointF pos = event->position();
    const bool endsDrag = event->button() == m_dragButton;
    if (endsDrag)
        m_dragButton = Qt::NoButton;
    if (button == 1)
        PlaceCursor(pos.x());
    if (m_listener)
        m_listener->OnChartMouseUp(button, ShiftCode(event->modifiers()), int(pos.x()),
                                   int(pos.y()));
    if (endsDrag && m_panned) {
        m_panned = false;
        if (m_listener)
            m_listener->OnChartRangeChanged();
    }
}

void StripChart::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    double ws, we;
    m_model.DrawnWindow(&ws, &we);
    const double at = TimeAt(event->position().x());
    // A notch in narrows the window by a fifth about the time under the mouse.
    const double factor = std::pow(0.8, delta / 120.0);
    const double start = at - (at - ws) * factor;
    const double end = at + (we - at) * factor;
    if (!(end - start > 1e-9) || !std::isfinite(start) || !std::isfinite(end) ||
        end - start > 3650.0 * 100)
        return;
    m_model.windowStart = start;
    m_model.windowEnd = end;
    Changed();
    event->accept();
    if (m_listener)
        m_listener->OnChartRangeChanged();
}
