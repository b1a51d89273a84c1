#include "Tfrm_sniff.h"

#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace lumidrax {

namespace {

constexpr int kHeadingGrowth = 6; // points added to the heading's font

} // namespace

Tfrm_sniff::Tfrm_sniff(IdentifyJob job, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), job_(std::move(job))
{
    setWindowTitle(tr("VKR 104+ identification"));
    auto* layout = new QVBoxLayout(this);
    lbl_progress = new QLabel(tr("VKR 104+ identification"), this);
    lbl_progress->setAlignment(Qt::AlignCenter);
    QFont heading = lbl_progress->font();
    heading.setPointSize(heading.pointSize() + kHeadingGrowth);
    heading.setBold(true);
    lbl_progress->setFont(heading);
    m_log = new QPlainTextEdit(this);
    m_log->setReadOnly(true);
    m_log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    b_start = new QPushButton(tr("Start identification"), this);
    b_close = new QPushButton(tr("&Close"), this);
    layout->addWidget(lbl_progress);
    layout->addWidget(m_log);
    layout->addWidget(new QLabel(tr("Make sure device is ready for identification and push button "), this));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(b_start, 1);
    buttons->addWidget(b_close);
    layout->addLayout(buttons);
    resize(480, 400);
    connect(b_start, &QPushButton::clicked, this, &Tfrm_sniff::b_startClick);
    connect(b_close, &QPushButton::clicked, this, &QDialog::reject);
}

Tfrm_sniff::~Tfrm_sniff()
{
    StopSearch();
}

void Tfrm_sniff::b_startClick()
{
    if (worker_)
        return;
    b_start->setEnabled(false);
    stop_ = false;
    worker_ = QThread::create([this] {
        PortIdentifier identifier(job_);
        result_ = identifier.Run(
            [this](const std::string& line) {
                // Shown at once; a line for a dialog already gone is dropped.
                QMetaObject::invokeMethod(
                    this, [this, text = QString::fromStdString(line)] { m_log->appendPlainText(text); },
                    Qt::QueuedConnection);
            },
            stop_);
    });
    connect(worker_, &QThread::finished, this, &Tfrm_sniff::SearchEnded);
    worker_->start();
}

void Tfrm_sniff::SearchEnded()
{
    if (!worker_)
        return;
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    b_start->setEnabled(true);
    if (stop_)
        return;
    emit searchFinished();
    // A search that found nothing leaves its log for the user to read.
    if (result_.Found())
        accept();
    else
        m_log->appendPlainText(tr("No instrument answered. Close this window when you have read the log."));
}

void Tfrm_sniff::StopSearch()
{
    if (!worker_)
        return;
    stop_ = true;
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
}

void Tfrm_sniff::done(int r)
{
    // Closed by the user in the middle of the search: it stops first.
    if (worker_ && !stop_ && r == QDialog::Rejected)
        StopSearch();
    QDialog::done(r);
}

} // namespace lumidrax
