#include "ReportPage.h"

#include "ReportListDelegate.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>

namespace lumidrax {

ReportPage::ReportPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("ts_reports");
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setChildrenCollapsible(false);
    lb_reports_ = new QListWidget(splitter_);
    lb_reports_->setObjectName("lb_reports");
    lb_reports_->setItemDelegate(new ReportListDelegate(lb_reports_));
    lb_reports_->setUniformItemSizes(true);
    m_report_ = new QPlainTextEdit(splitter_);
    m_report_->setObjectName("m_report");
    m_report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    splitter_->addWidget(lb_reports_);
    splitter_->addWidget(m_report_);
    splitter_->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] { listWidth_ = splitter_->sizes().value(0); });
}

void ReportPage::SetListWidth(int width)
{
    listWidth_ = std::max(0, width);
    const int total = std::max(splitter_->width(), listWidth_ + 1);
    splitter_->setSizes({listWidth_, total - listWidth_});
}

void ReportPage::SetReportFont(const QFont& font)
{
    lb_reports_->setFont(font);
    m_report_->setFont(font);
}

void ReportPage::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    SetListWidth(listWidth_);
}

} // namespace lumidrax
