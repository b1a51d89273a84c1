#include "ChartViewState.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>

namespace lumidrax {

QFont DefaultAxisFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(11);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(11);
    }
    // Crisp labels as the classic strips have them; it also keeps the
    // colours of a painted page to a handful.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

ChartViewState ChartViewState::ForPlot(const TMereni& charts, int plotWidth, int plotHeight,
                                       const Palette& colours)
{
    ChartViewState s;
    s.Charts = &charts;
    s.View = ViewTransform(charts, std::max(plotWidth, 0), std::max(plotHeight, 0));
    s.Colours = colours;
    return s;
}

ChartViewState ChartViewState::ForPage(const TMereni& charts, int pageWidth, int pageHeight,
                                       const Palette& colours)
{
    return ForPlot(charts, pageWidth - kAxisYWidth, pageHeight - kAxisXHeight, colours);
}

} // namespace lumidrax
