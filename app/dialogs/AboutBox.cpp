#include "AboutBox.h"

#include "FixedDialog.h"
#include "ProgramIcon.h"
#include "ProgramInfo.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumidrax {

namespace {
constexpr const char* kRightsHolder = "The Lumidrax authors";
constexpr const char* kRightsYears = "2026";
constexpr const char* kRightsAddress = "The Lumidrax authors\n"
                                       "Free software, distributed with its source code";
} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    MakeFixedDialog(*this, "Frm_about", "About Lumidrax");

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon::Pixmap(48));
    auto* name = new QLabel("Lumidrax version 3.1", this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    name->setFont(big);
    auto* rights = new QLabel(QString("Copyright %1 %2").arg(kRightsYears, kRightsHolder), this);
    auto* reserved = new QLabel("All rights reserved to:", this);
    auto* address = new QPlainTextEdit(kRightsAddress, this);
    address->setReadOnly(true);
    address->setObjectName("m_address");
    build_ = new QLabel(QString::fromStdString(BuildText(ProgramVersion())), this);
    build_->setObjectName("lbl_build");
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(name, 0, 1);
    grid->addWidget(rights, 1, 1);
    grid->addWidget(reserved, 2, 0, 1, 2);
    grid->addWidget(address, 3, 0, 1, 2);
    grid->addWidget(build_, 4, 0, 1, 2);
    grid->addWidget(ok, 5, 0, 1, 2, Qt::AlignHCenter);
    setFixedSize(354, 273);
}

void AboutBox::ShowAbout(QWidget* parent)
{
    AboutBox box(parent);
    box.exec();
}

} // namespace lumidrax
