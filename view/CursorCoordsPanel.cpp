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
    main_ = new MarkerShape(MarkerShape::Form::Circle, panel, this);
    main_->setObjectName("sh_main");
    row->addWidget(main_);
    mainX_ = ValueLabel(this, "lbl_mainX", kMainColour, "3333,33 m");
    mainY_ = ValueLabel(this, "lbl_mainY", kMainColour, "120,00 %");
    row->addWidget(mainX_);
    row->addWidget(mainY_);
    row->addSpacing(8);
    row->addWidget(new QLabel(tr("Ref"), this));
    ref_ = new MarkerShape(MarkerShape::Form::Square, panel, this);
    ref_->setObjectName("sh_ref");
    row->addWidget(ref_);
    refX_ = ValueLabel(this, "lbl_refX", kRefColour, "3333,33 m");
    refY_ = ValueLabel(this, "lbl_refY", kRefColour, "120,00 %");
    row->addWidget(refX_);
    row->addWidget(refY_);
    row->addSpacing(8);
    row->addWidget(new QLabel(tr("Diff"), this));
    diffX_ = ValueLabel(this, "lbl_diffX", kDiffColour, "3333,33 m");
    diffY_ = ValueLabel(this, "lbl_diffY", kDiffColour, "120,00 %");
    row->addWidget(diffX_);
    row->addWidget(diffY_);
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
