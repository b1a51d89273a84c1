#include "ChartInfoPanel.h"

#include "MarkerShape.h"
#include "PanelPalette.h"

#include <QGridLayout>
#include <QLabel>

#include <algorithm>

namespace lumidrax {
namespace {

struct FieldDesign {
    const char* Caption;
    const char* Name;   // label name after "lbl_" / "lbl_ref_"
    int MinChars;       // width of the value in characters
    const char* Widest; // the widest value the field shows in practice
};

constexpr std::array<FieldDesign, ChartInfoPanel::kFields> kDesign = {{
    {"", "curve_no", 3, "999"},
    {"Impedance", "imp", 8, "8888 Ohm"},
    {"Velocity", "vel", 6, "100,0%"},
    {"Noise", "noise", 5, "100%"},
    {"DC", "DC", 5, "-100%"},
    {"Filter", "filter", 7, "Off + 20"},
    {"Edge", "active_edge", 3, "N"},
    {"DC Voltage", "voltage", 9, "-888,88 V"},
    {"DC Resistance", "resistance", 11, "888,8 MOhm"},
    {"Date - Time", "datetime", 19, "88.88.8888 88:88:88"},
}};

// Captions above, values below, within 1 pixel above and below.
constexpr int kRowHeight = 18;

} // namespace

ChartInfoPanel::ChartInfoPanel(Kind kind, QWidget* parent) : QWidget(parent)
{
    const bool ref = kind == Kind::Reference;
    setObjectName(ref ? "p_refinfo" : "p_aktinfo");
    setFixedHeight(2 * kRowHeight + 2);
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
        // A fixed size, the width from the widest value the field shows: a
        // label whose size followed its text would lay out the window again
        // each time another chart becomes the active one (a mouse move can
        // do that). A longer text from a file is cut, and shown whole in the
        // label's tool tip.
        v->setFixedSize(std::max(d.MinChars * charWidth, fontMetrics().horizontalAdvance(d.Widest)) + 6,
                        kRowHeight);
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
    for (std::size_t f = 0; f < texts.size(); ++f) {
        QLabel* v = values_[f];
        const QString text = QString::fromStdString(*texts[f]);
        // Most values stay from chart to chart: those are not measured again.
        if (text == v->text())
            continue;
        v->setText(text);
        const bool cut = v->fontMetrics().horizontalAdvance(text) > v->maximumWidth();
        v->setToolTip(cut ? text : QString());
    }
    if (t.Marker) {
        marker_->SetFill(QColor::fromRgb(*t.Marker));
        marker_->show();
    } else {
        marker_->hide();
    }
}

} // namespace lumidrax
