#include "ReportPage.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>

namespace lumidrax {

ReportPage::ReportPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("ts_reports");
    lb_reports_ = new QListWidget(this);
    lb_reports_->setObjectName("lb_reports");
    lb_reports_->setMaximumWidth(220);
    m_report_ = new QPlainTextEdit(this);
    m_report_->setObjectName("m_report");
    m_report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_report_->setFont(QFont("Courier New"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lb_reports_);
    layout->addWidget(m_report_, 1);
}

} // namespace lumidrax
