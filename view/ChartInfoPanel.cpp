#include "ChartInfoPanel.h"

#include "MarkerShape.h"
#include "PanelPalette.h"

#include <QGridLayout>
#include <QLabel>

namespace lumidrax {
namespace {

struct FieldDesign {
    const char* Caption;
    const char* Name; // label name after "lbl_" / "lbl_ref_"
    int MinChars;     // width of the value in characters
};

constexpr std::array<FieldDesign, ChartInfoPanel::kFields> kDesign = {{
    {"", "curve_no", 3},
    {"Impedance", "imp", 8},
    {"Velocity", "vel", 6},
    {"Noise", "noise", 5},
    {"DC", "DC", 5},
    {"Filter", "filter", 7},
    {"Edge", "active_edge", 3},
    {"DC Voltage", "voltage", 9},
    {"DC Resistance", "resistance", 11},
    {"Date - Time", "datetime", 19},
}};

} // namespace

ChartInfoPanel::ChartInfoPanel(Kind kind, QWidget* parent) : QWidget(parent)
{
    const bool ref = kind == Kind::Reference;
    setObjectName(ref ? "p_refinfo" : "p_aktinfo");
    setFixedHeight(38);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 1, 4, 1);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);
    grid->addWidget(new QLabel(ref ? tr("Reference") : tr("Active"), this), 0, 0, 2, 1);
    marker_ = new MarkerShape(ref ? MarkerShape::Form::Square : MarkerShape::Form::Circle, Qt::white, this);
    marker_->setObjectName(ref ? "sh_refcolor" : "sh_activecolor");
    marker_->hide();
    grid->addWidget(marker_, 0, 1, 2, 1);
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int f = 0; f < kFields; ++f) {
        const FieldDesign& d = kDesign[static_cast<std::size_t>(f)];
        grid->addWidget(new QLabel(tr(d.Caption), this), 0, f + 2);
        auto* v = new QLabel(this);
        v->setObjectName(QString(ref ? "lbl_ref_" : "lbl_") + d.Name);
        v->setAutoFillBackground(true);
        v->setMinimumWidth(d.MinChars * charWidth + 6);
        grid->addWidget(v, 1, f + 2);
        values_[static_cast<std::size_t>(f)] = v;
    }
    grid->setColumnStretch(kFields + 2, 1);
    SetDark(false);
    Show(ChartInfoTexts{"---", "---", "---", "---", "---", "---", "-", "---", "---", "---", {}});
}

void ChartInfoPanel::SetDark(bool dark)
{
    for (QLabel* v : values_) {
        QPalette p = v->palette();
        p.setColor(QPalette::Window, InfoValueBackground(dark));
        p.setColor(QPalette::WindowText, InfoValueText(dark));
        v->setPalette(p);
    }
}

void ChartInfoPanel::Show(const ChartInfoTexts& t)
{
    const std::array<const std::string*, kFields> texts = {
        &t.CurveNo, &t.Impedance, &t.Velocity, &t.Noise,      &t.DC,
        &t.Filter,  &t.Edge,      &t.Voltage,  &t.Resistance, &t.DateTime};
    for (std::size_t f = 0; f < texts.size(); ++f)
        values_[f]->setText(QString::fromStdString(*texts[f]));
    if (t.Marker) {
        marker_->SetFill(QColor::fromRgb(*t.Marker));
        marker_->show();
    } else {
        marker_->hide();
    }
}

} // namespace lumidrax
