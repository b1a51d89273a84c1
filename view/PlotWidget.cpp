#include "PlotWidget.h"

#include "CursorGeometry.h"
#include "PlotRules.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace lumidrax {

namespace {

// The plot is never made smaller than this, in pixels.
constexpr int kMinimumSize = 16;
// Parts of a repaint narrower than kNarrowPart pixels are copied from the
// cache in bands of kBandRows rows: the raster engine copies those on this
// thread instead of handing them to its thread pool.
constexpr int kNarrowPart = 64;
constexpr int kBandRows = 64;

// What the curve cache keeps of one chart: its colour and shown flag.
std::uint64_t ChartKey(const TJednoMereni& c)
{
    return (static_cast<std::uint64_t>(c.Color) << 1) | (c.Shown ? 1u : 0u);
}

} // namespace

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent), axisFont_(DefaultAxisFont())
{
    setObjectName(QStringLiteral("Plocha"));
    setToolTip(QStringLiteral("Chart"));
    setCursor(Qt::CrossCursor);
    // Every paint covers what it was asked for (the cached curves, or the
    // page colour without charts), so a cursor move repaints nothing behind
    // the plot.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setMinimumSize(kMinimumSize, kMinimumSize);
}

void PlotWidget::SetCharts(const TMereni* charts)
{
    charts_ = charts;
    InvalidateCurves();
}

void PlotWidget::SetTrackedCharts(TMereni* charts)
{
    tracked_ = charts;
    setMouseTracking(charts != nullptr);
    SetCharts(charts);
}

void PlotWidget::SetColours(const Palette& colours)
{
    colours_ = colours;
    InvalidateCurves();
}

void PlotWidget::SetAxisFont(const QFont& font)
{
    axisFont_ = font;
    InvalidateCurves();
}

void PlotWidget::SetGrid(bool on)
{
    if (grid_ == on)
        return;
    grid_ = on;
    InvalidateCurves();
}

void PlotWidget::SetLines(bool on)
{
    if (lines_ == on)
        return;
    lines_ = on;
    InvalidateCurves();
}

void PlotWidget::SetEventMarks(std::vector<EventMark> marks)
{
    if (marks == eventMarks_)
        return;
    eventMarks_ = std::move(marks);
    emit EventMarksChanged();
}

void PlotWidget::InvalidateCurves()
{
    dirty_ = true;
    update();
    emit ViewChanged();
}

void PlotWidget::UpdateCursors()
{
    if (dirty_ || paintedCursors_.isEmpty() || cache_.size() != size() || !CacheKeyMatches()) {
        update();
        return;
    }
    update(paintedCursors_ | CursorRegion());
}

ViewTransform PlotWidget::CurrentView() const
{
    static const TMereni kNoCharts;
    const TMereni& charts = charts_ != nullptr ? *charts_ : kNoCharts;
    ViewTransform v(charts, width(), height());
    v.UpdateScales(charts.ShownCount, window() != nullptr && window()->isMinimized());
    return v;
}

QRegion PlotWidget::CursorRegion() const
{
    QRegion region;
    if (charts_ == nullptr)
        return region;
    const ViewTransform v = CurrentView();
    if (!v.HasScales())
        return region;
    for (const CursorGeometry& cursor : CursorGeometry::OnPlot(*charts_, v))
        for (const QRect& r : cursor.RepaintRects(rect()))
            region += r;
    return region;
}

ChartViewState PlotWidget::State() const
{
    static const TMereni kNoCharts;
    ChartViewState s =
        ChartViewState::ForPlot(charts_ != nullptr ? *charts_ : kNoCharts, width(), height(), colours_);
    s.AxisFont = axisFont_;
    s.Grid = grid_;
    s.Lines = lines_;
    s.EventMarks = eventMarks_;
    s.Minimised = window() != nullptr && window()->isMinimized();
    return s;
}

PlotWidget::CacheKey PlotWidget::CurrentKey() const
{
    CacheKey k;
    k.Width = width();
    k.Height = height();
    k.Dark = colours_.Dark();
    k.Grid = grid_;
    k.Lines = lines_;
    if (charts_ != nullptr) {
        k.XMin = charts_->ViewXMin;
        k.XMax = charts_->ViewXMax;
        k.YMin = charts_->ViewYMin;
        k.YMax = charts_->ViewYMax;
        k.LineWidth = charts_->LineWidth;
        k.Count = charts_->Count;
        k.ShownCount = charts_->ShownCount;
        k.RefIndex = charts_->RefIndex;
        k.Charts.reserve(static_cast<std::size_t>(charts_->Count));
        for (int i = 1; i <= charts_->Count; ++i) {
            const TJednoMereni& c = charts_->Rec(i);
            k.Charts.push_back(ChartKey(c));
        }
    }
    return k;
}

bool PlotWidget::CacheKeyMatches() const
{
    const CacheKey& k = cacheKey_;
    if (k.Width != width() || k.Height != height() || k.Dark != colours_.Dark() || k.Grid != grid_ ||
        k.Lines != lines_)
        return false;
    if (charts_ == nullptr)
        return k.Count == 0 && k.Charts.empty() && k.XMin == 0 && k.XMax == 0 && k.YMin == 0 && k.YMax == 0 &&
               k.LineWidth == 0 && k.ShownCount == 0 && k.RefIndex == 0;
    if (k.XMin != charts_->ViewXMin || k.XMax != charts_->ViewXMax || k.YMin != charts_->ViewYMin ||
        k.YMax != charts_->ViewYMax || k.LineWidth != charts_->LineWidth || k.Count != charts_->Count ||
        k.ShownCount != charts_->ShownCount || k.RefIndex != charts_->RefIndex ||
        k.Charts.size() != static_cast<std::size_t>(charts_->Count))
        return false;
    for (int i = 1; i <= charts_->Count; ++i) {
        const TJednoMereni& c = charts_->Rec(i);
        if (k.Charts[static_cast<std::size_t>(i - 1)] != ChartKey(c))
            return false;
    }
    return true;
}

void PlotWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // While the cached curves are still right, so is the renderer made for
    // them: a cursor move neither paints the curves nor works out the ticks.
    if (!renderer_ || dirty_ || cache_.size() != size() || !CacheKeyMatches()) {
        renderer_.emplace(State());
        if (!renderer_->HasCurves()) {
            painter.fillRect(rect(), palette().color(QPalette::Window));
            renderer_->PaintPlot(painter);
            renderer_.reset();
            paintedCursors_ = QRegion();
            // The next chart drawn reports its text afresh.
            statusTextSent_ = false;
            return;
        }
        CacheKey key = CurrentKey();
        if (cache_.size() != size())
            cache_ = QImage(size(), QImage::Format_RGB32);
        QPainter cachePainter(&cache_);
        renderer_->PaintPlot(cachePainter);
        cachePainter.end();
        cacheKey_ = std::move(key);
        dirty_ = false;
        ++cacheRepaints_;
    }
    const ChartRenderer& renderer = *renderer_;
    // Only the parts asked for: after a cursor move, the strips the cursors
    // left and entered; narrow ones in bands.
    for (const QRect& r : event->region()) {
        const int rows = r.width() < kNarrowPart ? kBandRows : r.height();
        for (int top = r.top(); top <= r.bottom(); top += rows) {
            const QRect band(r.left(), top, r.width(), std::min(rows, r.bottom() + 1 - top));
            painter.drawImage(band, cache_, band);
        }
    }
    renderer.PaintCursors(painter);
    painter.end();
    paintedCursors_ = CursorRegion();

    if (const auto text = CursorStatusText(*charts_)) {
        const QString status = QString::fromStdString(*text);
        if (!statusTextSent_ || status != statusText_) {
            statusText_ = status;
            statusTextSent_ = true;
            emit StatusTextChanged(status);
        }
    }
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (tracked_ == nullptr)
        return;
    // A Shift+left drag moves the view, not the cursor.
    if ((event->buttons() & Qt::LeftButton) && (event->modifiers() & Qt::ShiftModifier))
        return;
    TrackAt(event->position().toPoint());
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (tracked_ == nullptr || tracked_->ShownCount < 1)
        return;
    const bool suppressed = takeSuppressed_ && takeSuppressed_();
    if (suppressed || event->button() != Qt::LeftButton || (event->modifiers() & Qt::ShiftModifier))
        return;
    SetReferenceFromActive(*tracked_);
    UpdateCursors();
    emit referenceSet();
}

void PlotWidget::TrackCentre()
{
    if (tracked_ == nullptr || tracked_->ShownCount < 1)
        return;
    TrackAt(QPoint(width() / 2, height() / 2));
}

void PlotWidget::TrackAt(QPoint p)
{
    const int active = tracked_->ActiveIndex;
    const CursorListFollow follow = TrackMouse(*tracked_, CurrentView(), p.x(), p.y());
    UpdateCursors();
    emit cursorMoved(follow.ListChart);
    if (tracked_->ActiveIndex != active)
        emit activeChartChanged();
}

void PlotWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    dirty_ = true;
    emit ViewChanged();
}

} // namespace lumidrax
