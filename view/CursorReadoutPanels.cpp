#include "CursorReadoutPanels.h"

#include "ChartInfoPanel.h"
#include "CursorCoordsPanel.h"
#include "ReadoutTexts.h"

#include <QVBoxLayout>

namespace lumidrax {

CursorReadoutPanels::CursorReadoutPanels(QWidget* parent) : QWidget(parent)
{
    setObjectName("p_readouts");
    // Opaque: a read-out that changes repaints the panel's own background
    // only, not the page behind it.
    setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    refInfo_ = new ChartInfoPanel(ChartInfoPanel::Kind::Reference, this);
    activeInfo_ = new ChartInfoPanel(ChartInfoPanel::Kind::Active, this);
    coords_ = new CursorCoordsPanel(this);
    column->addWidget(refInfo_);
    column->addWidget(activeInfo_);
    column->addWidget(coords_);
    refInfo_->hide();
    UpdateAll();
}

void CursorReadoutPanels::SetCharts(const TMereni* charts)
{
    charts_ = charts;
    UpdateAll();
}

void CursorReadoutPanels::UpdateCursorReadouts()
{
    static const TMereni kNone;
    coords_->Show(CursorReadouts(charts_ ? *charts_ : kNone));
}

void CursorReadoutPanels::UpdateActiveInfo()
{
    static const TMereni kNone;
    activeInfo_->Show(ActiveChartInfo(charts_ ? *charts_ : kNone));
    UpdateCursorReadouts();
}

void CursorReadoutPanels::UpdateRefInfo()
{
    static const TMereni kNone;
    refInfo_->Show(RefChartInfo(charts_ ? *charts_ : kNone));
    UpdateCursorReadouts();
}

void CursorReadoutPanels::UpdateAll()
{
    UpdateActiveInfo();
    UpdateRefInfo();
}

void CursorReadoutPanels::SetDark(bool dark)
{
    refInfo_->SetDark(dark);
    activeInfo_->SetDark(dark);
    coords_->SetDark(dark);
    // The markers of absent cursors take the panel's colour.
    UpdateAll();
}

void CursorReadoutPanels::SetRefInfoVisible(bool on)
{
    refInfoOn_ = on;
    refInfo_->setVisible(on);
}

} // namespace lumidrax
