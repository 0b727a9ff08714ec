#include "plot/Strip.h"

namespace {

// The widget's model, or a scratch one while the control does not exist, so
// that no call ever fails.
ChartModel& Scratch() {
    static ChartModel model;
    return model;
}

} // namespace

QWidget* CStrip::CreateCustomWidget(QWidget* parent) {
    auto* chart = new StripChart(parent);
    chart->SetListener(this);
    return chart;
}

StripChart* CStrip::Chart() const {
    return dynamic_cast<StripChart*>(GetWidget());
}

ChartModel& CStrip::M() const {
    StripChart* chart = Chart();
    return chart ? chart->Model() : Scratch();
}

void CStrip::Changed() {
    if (StripChart* chart = Chart())
        chart->Changed();
}

void CStrip::SetProperty5(double value) {
    M().plotBottom = value;
    Changed();
}

void CStrip::SetProperty8(double value) {
    M().plotRight = value;
    Changed();
}

void CStrip::SetSeriesCount(short count) {
    M().SetSeriesCount(count);
    Changed();
}

void CStrip::SetCurrentSeries(short series) {
    M().currentSeries = series;
}

void CStrip::SetSeriesColor(std::int32_t color) {
    if (ChartSeriesStyle* s = M().Style(M().currentSeries))
        s->color = std::uint32_t(color) & 0xFFFFFF;
    Changed();
}

void CStrip::SetSeriesPoints(std::int32_t points) {
    if (ChartSeriesStyle* s = M().Style(M().currentSeries))
        s->points = points != 0;
    Changed();
}

void CStrip::SetProperty21(std::int32_t value) {
    M().repaintSuspended = value == 0;
    Changed();
}

void CStrip::SetTimeSpan(double days) {
    M().windowStart = M().windowEnd - days;
    Changed();
}

void CStrip::SetSeriesLineWidth(short width) {
    if (ChartSeriesStyle* s = M().Style(M().currentSeries))
        s->lineWidth = width;
    Changed();
}

void CStrip::SetTimePosition(double end) {
    const double width = M().windowEnd - M().windowStart;
    M().windowEnd = end;
    M().windowStart = end - width;
    Changed();
}

void CStrip::SetYAxisCount(short count) {
    M().SetAxisCount(count);
    Changed();
}

void CStrip::SetCurrentYAxis(short axis) {
    M().currentAxis = axis;
}

void CStrip::SetYAxisMin(double value) {
    if (ChartAxis* a = M().Axis(M().currentAxis))
        a->min = value;
    Changed();
}

void CStrip::SetYAxisMax(double value) {
    if (ChartAxis* a = M().Axis(M().currentAxis))
        a->max = value;
    Changed();
}

void CStrip::SetSeriesYAxis(short axis) {
    if (ChartSeriesStyle* s = M().Style(M().currentSeries))
        s->yAxis = axis;
    Changed();
}

void CStrip::SetYAxisGap(double gap) {
    M().axisGap = gap;
    Changed();
}

void CStrip::SetTextCaption(const std::string& caption) {
    if (ChartText* t = M().Text(M().currentText))
        t->caption = caption;
    Changed();
}

void CStrip::SetTextColor(std::int32_t color) {
    if (ChartText* t = M().Text(M().currentText))
        t->color = std::uint32_t(color) & 0xFFFFFF;
    Changed();
}

void CStrip::SetCurrentText(short text) {
    M().currentText = text;
}

void CStrip::SetTextObjectCount(short count) {
    M().SetTextCount(count);
    Changed();
}

void CStrip::SetTextX(double x) {
    if (ChartText* t = M().Text(M().currentText))
        t->x = x;
    Changed();
}

void CStrip::SetTextY(double y) {
    if (ChartText* t = M().Text(M().currentText))
        t->y = y;
    Changed();
}

void CStrip::SetYAxisDefaultMax(double value) {
    if (ChartAxis* a = M().Axis(M().currentAxis))
        a->defaultMax = value;
}

void CStrip::SetYAxisDefaultMin(double value) {
    if (ChartAxis* a = M().Axis(M().currentAxis))
        a->defaultMin = value;
}

void CStrip::SetSeriesPointSize(double size) {
    if (ChartSeriesStyle* s = M().Style(M().currentSeries))
        s->pointSize = size;
    Changed();
}

void CStrip::SetSeriesVisible(bool visible) {
    if (ChartSeriesStyle* s = M().Style(M().currentSeries))
        s->visible = visible;
    Changed();
}

void CStrip::SetProperty85(std::int32_t value) {
    if (StripChart* c = Chart())
        c->EnableCursor(value != 0);
    else
        Scratch().cursorEnabled = value != 0;
}

double CStrip::GetCursorTime() const {
    return M().CursorTime();
}

void CStrip::SetProperty87(std::int32_t value) {
    if (ChartSeriesStyle* s = M().Style(M().currentSeries))
        s->mode = value;
    Changed();
}

// Our chart has nothing this setting changes.
void CStrip::SetProperty88(std::int32_t) {}

void CStrip::SetTimeFormat1(const std::string& format) {
    M().timeFormat[0] = format;
    Changed();
}

void CStrip::SetTimeFormat2(const std::string& format) {
    M().timeFormat[1] = format;
    Changed();
}

void CStrip::SetTimeFormat3(const std::string& format) {
    M().timeFormat[2] = format;
    Changed();
}

void CStrip::SetTimeFormat4(const std::string& format) {
    M().timeFormat[3] = format;
    Changed();
}

void CStrip::SetProperty96(bool value) {
    M().grid = value;
    Changed();
}

// Our chart has nothing this setting changes.
void CStrip::SetProperty97(bool) {}

double CStrip::GetWindowEnd() const {
    return M().windowEnd;
}

void CStrip::SetWindowEnd(double end) {
    M().windowEnd = end;
    Changed();
}

double CStrip::GetWindowStart() const {
    return M().windowStart;
}

void CStrip::SetWindowStart(double start) {
    M().windowStart = start;
    Changed();
}

void CStrip::SetTextAlign(std::int32_t align) {
    if (ChartText* t = M().Text(M().currentText))
        t->align = align;
    Changed();
}

void CStrip::SetSeriesFill(bool fill) {
    if (ChartSeriesStyle* s = M().Style(M().currentSeries))
        s->fill = fill;
    Changed();
}

void CStrip::AddPoint(short series, double time, double value) {
    M().AddPoint(series, time, value);
}

void CStrip::ClearSeries(short series) {
    M().ClearSeries(series);
    Changed();
}

void CStrip::ShowProperties() {
    if (StripChart* c = Chart())
        MessageBox(c->PropertiesSummary().c_str(), "Properties", MB_ICONINFORMATION);
}

void CStrip::Redraw() {
    if (StripChart* c = Chart())
        c->Redraw();
}

void CStrip::Method137() {
    if (StripChart* c = Chart())
        c->Redraw();
}

void CStrip::PrintChart(QPainter* dc, double left, double top, double width, double height) {
    if (StripChart* c = Chart(); c && dc)
        c->Print(*dc, left, top, width, height);
}

void CStrip::SetTimeRange(double end, double start) {
    M().windowEnd = end;
    M().windowStart = start;
    Changed();
}

double CStrip::GetValueAtCursor(short series) const {
    return M().ValueAt(series, M().CursorTime());
}

double CStrip::GetSeriesMax(short series) const {
    return M().SeriesMax(series);
}

double CStrip::GetSeriesMin(short series) const {
    return M().SeriesMin(series);
}

void CStrip::OnChartCursor(double time) {
    NMCHART n;
    n.time = time;
    NotifyParent(CHN_CURSOR, n);
}

void CStrip::OnChartRangeChanged() {
    NMCHART n;
    NotifyParent(CHN_RANGECHANGED, n);
}

void CStrip::OnChartMouseDown(short button, short shift, int x, int y) {
    NMCHART n;
    n.button = button;
    n.shift = shift;
    n.x = x;
    n.y = y;
    NotifyParent(CHN_MOUSEDOWN, n);
}

void CStrip::OnChartMouseUp(short button, short shift, int x, int y) {
    NMCHART n;
    n.button = button;
    n.shift = shift;
    n.x = x;
    n.y = y;
    NotifyParent(CHN_MOUSEUP, n);
}
