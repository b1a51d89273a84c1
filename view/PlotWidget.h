#pragma once
// The plot area `Plocha` of the chart page. Paints through ChartRenderer:
// the curves are painted into a cached image that is repainted only when
// the charts, the view window, the size or the colours change; the two
// cursors are painted over the cache on every paint (XOR look), so moving a
// cursor costs one blit.
//
// Use from the main window (normally through ChartViewPanel):
//   plot->SetCharts(&mereni);          // once; the collection is not owned
//   plot->InvalidateCurves();          // after loading/closing/showing charts,
//                                      // zoom, shift, a colour or line width change
//   plot->UpdateCursors();             // after ActiveCursor/RefCursor/ActiveIndex changed
//   plot->SetTrackedCharts(&mereni);   // the mouse moves the cursors of this
//                                      // collection (cursorMoved, referenceSet)
//   plot->SetColours(palette);         // after ApplyColorScheme
// The view window, sizes, palette, line width and chart colours are also
// compared with the cached ones on every paint, so a forgotten
// InvalidateCurves only matters for changed samples.

#include "ChartRenderer.h"

#include "CursorTracking.h"

#include <QImage>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace lumidrax {

class PlotWidget : public QWidget {
    Q_OBJECT
  public:
    explicit PlotWidget(QWidget* parent = nullptr);

    void SetCharts(const TMereni* charts);
    // Mouse moves over the plot track the active cursor of `charts` and the
    // release of the left button freezes it as the reference cursor
    // (nullptr: the mouse changes nothing). Also sets the painted
    // collection.
    void SetTrackedCharts(TMereni* charts);
    // Asked on every button release over the plot while a chart is drawn:
    // true when this release must not set the reference cursor (it ends a
    // file drop or belongs to another window). The release clears what it
    // asks, so the function returns the flag and clears it.
    void SetClickSuppression(std::function<bool()> takeSuppressed)
    {
        takeSuppressed_ = std::move(takeSuppressed);
    }
    // The active cursor goes to the sample the mouse would pick at the
    // centre of the plot (as a mouse move there would).
    void TrackCentre();
    // The next paint reports the status text even when it has not changed
    // (whoever shows it has cleared it).
    void ForgetStatusText() { statusTextSent_ = false; }
    const TMereni* Charts() const { return charts_; }
    void SetColours(const Palette& colours);
    const Palette& Colours() const { return colours_; }
    void SetAxisFont(const QFont& font);
    // Grid at the major ticks (printing and clipboard set it around a paint).
    void SetGrid(bool on);
    // Samples joined by lines (the dots over them) instead of dots alone.
    void SetLines(bool on);
    bool Lines() const { return lines_; }

    // Events marked on the X strip (the strips repaint).
    void SetEventMarks(std::vector<EventMark> marks);
    const std::vector<EventMark>& EventMarks() const { return eventMarks_; }

    // The curves must be painted again at the next paint.
    void InvalidateCurves();
    // Only the cursors changed: repaint them over the cached curves. Only
    // the strips where the cursors were and are now are repainted, unless
    // the curves have to be painted again anyway.
    void UpdateCursors();
    // The plot pixels the two cursors of the collection cover now.
    QRegion CursorRegion() const;

    // The view as this widget paints it now (plot size = widget size).
    ChartViewState State() const;
    // How many times the curve cache has been painted (for tests and
    // diagnostics).
    int CacheRepaints() const { return cacheRepaints_; }

  signals:
    // The view window, size or colours changed: the axis strips repaint.
    void ViewChanged();
    // The event marks changed (they follow the active chart): the X strip,
    // which shows them, repaints.
    void EventMarksChanged();
    // What the status bar's open-ended panel shows after a plot paint
    // ("neni" without an active chart, else the active chart's description;
    // see CursorStatusText). Emitted when the text changes.
    void StatusTextChanged(const QString& text);
    // The mouse moved the active cursor; `listChart` is the chart whose list
    // row becomes the current one (0: none).
    void cursorMoved(int listChart);
    // The mouse made another chart the active one (after cursorMoved; not
    // at a move along the same chart): the owner tells the change notifier.
    void activeChartChanged();
    // A left button release made the active cursor the reference cursor.
    void referenceSet();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct CacheKey {
        long double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
        int Width = 0, Height = 0;
        bool Dark = false;
        bool Grid = false;
        bool Lines = false;
        int LineWidth = 0;
        int Count = 0, ShownCount = 0, RefIndex = 0;
        std::vector<std::uint64_t> Charts; // colour and shown flag of each chart
        bool operator==(const CacheKey&) const = default;
    };
    CacheKey CurrentKey() const;
    // CurrentKey() == cacheKey_, without building a key.
    bool CacheKeyMatches() const;
    // The view transform of the plot as it is now (no fonts, no ticks).
    ViewTransform CurrentView() const;
    // The active cursor goes to the sample the mouse picks at pixel `p`;
    // the cursors are redrawn and the moves told.
    void TrackAt(QPoint p);

    const TMereni* charts_ = nullptr;
    TMereni* tracked_ = nullptr;
    // Where the cursors were painted last (empty: not painted yet).
    QRegion paintedCursors_;
    Palette colours_;
    QFont axisFont_;
    bool grid_ = false;
    bool lines_ = false;
    std::vector<EventMark> eventMarks_;
    bool dirty_ = true;
    QImage cache_;
    // The renderer the cache was painted with (reset when nothing is drawn).
    std::optional<ChartRenderer> renderer_;
    CacheKey cacheKey_;
    int cacheRepaints_ = 0;
    QString statusText_;
    bool statusTextSent_ = false;
    std::function<bool()> takeSuppressed_;
};

} // namespace lumidrax
