#include "CursorCoordsPanel.h"

#include "MarkerShape.h"
#include "PanelPalette.h"

#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>
#include <utility>

namespace lumidrax {
namespace {

// The widest read-outs: a difference of distances of a long cable, and of
// levels.
const QString kWidestDistance = QStringLiteral("-88888,88 m");
const QString kWidestLevel = QStringLiteral("-888,8 %");
// The panel is 24 high with 2 pixels above and below.
constexpr int kValueHeight = 20;

QLabel* ValueLabel(QWidget* parent, const char* name, QRgb background, const char* placeholder)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(background));
    p.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(p);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // A fixed size, wide enough for the designed placeholder text and for
    // the widest value of its kind: a label whose size follows its text
    // would lay out the whole window again at every cursor step.
    const QString widest = QString::fromUtf8(placeholder).endsWith('m') ? kWidestDistance : kWidestLevel;
    const QFontMetrics metrics = l->fontMetrics();
    l->setFixedSize(std::max(metrics.horizontalAdvance(QString::fromUtf8(placeholder)),
                             metrics.horizontalAdvance(widest)) +
                        8,
                    kValueHeight);
    return l;
}

// A cursor's marker, put in the row.
MarkerShape* AddMarker(QHBoxLayout* row, MarkerShape::Form form, const QColor& panel, const char* name)
{
    auto* marker = new MarkerShape(form, panel, row->parentWidget());
    marker->setObjectName(name);
    row->addWidget(marker);
    return marker;
}

// The distance and level boxes of a cursor, or of their difference, put in
// the row.
void AddValueBoxes(QHBoxLayout* row, const char* nameX, const char* nameY, QRgb background, QLabel*& x,
                   QLabel*& y)
{
    x = ValueLabel(row->parentWidget(), nameX, background, "3333,33 m");
    y = ValueLabel(row->parentWidget(), nameY, background, "120,00 %");
    row->addWidget(x);
    row->addWidget(y);
}

} // namespace

CursorCoordsPanel::CursorCoordsPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("p_coords");
    setFixedHeight(24);
    const QColor panel = palette().color(QPalette::Window);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);
    row->addWidget(new QLabel(tr("Cursors:"), this));
    row->addWidget(new QLabel(tr("Act"), this));
    main_ = AddMarker(row, MarkerShape::Form::Circle, panel, "sh_main");
    AddValueBoxes(row, "lbl_mainX", "lbl_mainY", kMainColour, mainX_, mainY_);
    row->addSpacing(8);
    row->addWidget(new QLabel(tr("Ref"), this));
    ref_ = AddMarker(row, MarkerShape::Form::Square, panel, "sh_ref");
    AddValueBoxes(row, "lbl_refX", "lbl_refY", kRefColour, refX_, refY_);
    row->addSpacing(8);
    row->addWidget(new QLabel(tr("Diff"), this));
    AddValueBoxes(row, "lbl_diffX", "lbl_diffY", kDiffColour, diffX_, diffY_);
    row->addStretch(1);
}

void CursorCoordsPanel::SetDark(bool dark)
{
    const std::pair<QLabel*, QRgb> boxes[] = {{mainX_, kMainColour}, {mainY_, kMainColour},
                                              {refX_, kRefColour},   {refY_, kRefColour},
                                              {diffX_, kDiffColour}, {diffY_, kDiffColour}};
    for (const auto& [label, light] : boxes) {
        QPalette p = label->palette();
        p.setColor(QPalette::Window, ReadoutBackground(light, dark));
        p.setColor(QPalette::WindowText, ReadoutText(dark));
        label->setPalette(p);
    }
}

void CursorCoordsPanel::Show(const CursorReadoutTexts& t)
{
    // setText does nothing when the text is the same, so an unchanged label
    // is not repainted.
    mainX_->setText(QString::fromStdString(t.MainX));
    mainY_->setText(QString::fromStdString(t.MainY));
    refX_->setText(QString::fromStdString(t.RefX));
    refY_->setText(QString::fromStdString(t.RefY));
    diffX_->setText(QString::fromStdString(t.DiffX));
    diffY_->setText(QString::fromStdString(t.DiffY));
    const QColor panel = palette().color(QPalette::Window);
    main_->SetFill(t.MainFill ? QColor::fromRgb(*t.MainFill) : panel);
    ref_->SetFill(t.RefFill ? QColor::fromRgb(*t.RefFill) : panel);
}

} // namespace lumidrax
