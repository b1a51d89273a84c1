#include "FolderImport.h"

#include "ChartArchive.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>

#include <atomic>
#include <memory>

namespace lumidrax {

namespace {

// The import's own lines in the message; the rest are counted.
constexpr std::size_t kListedFailures = 20;

} // namespace

FolderImportResult FolderImport::Run(QWidget* parent, const ArchiveLocation& where, const std::string& folder)
{
    QProgressDialog progress(tr("Importing %1 ...").arg(QString::fromStdString(folder)), tr("&Cancel"), 0, 0,
                             parent);
    progress.setWindowTitle(tr("Import Folder"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    auto cancel = std::make_shared<std::atomic_bool>(false);
    auto result = std::make_shared<FolderImportResult>();
    QPointer<QProgressDialog> shown(&progress);
    QThread* thread = QThread::create([where, folder, cancel, result, shown] {
        ChartArchive archive(where);
        if (!archive.isOpen()) {
            result->Failed.push_back({folder, archive.status().Message});
            return;
        }
        const ImportResult r = archive.Import(folder, [&](const ImportProgress& p) {
            QMetaObject::invokeMethod(
                qApp,
                [shown, p] {
                    if (!shown)
                        return;
                    shown->setMaximum(p.Total);
                    shown->setValue(p.Done);
                    shown->setLabelText(
                        tr("%1 of %2: %3").arg(p.Done).arg(p.Total).arg(QString::fromStdString(p.Current)));
                },
                Qt::QueuedConnection);
            return !cancel->load();
        });
        result->Added = r.Added;
        result->Skipped = r.Skipped;
        result->Failed = r.Failed;
        result->Cancelled = r.Cancelled;
    });
    QEventLoop loop;
    connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    connect(&progress, &QProgressDialog::canceled, &progress, [cancel, &progress] {
        cancel->store(true);
        progress.setLabelText(tr("Cancelling after the batch in progress ..."));
        progress.show(); // a cancelled dialog hides itself
    });
    thread->start();
    progress.show();
    loop.exec();
    thread->wait();
    delete thread;
    return *result;
}

std::string ImportSummary(const FolderImportResult& r)
{
    std::string text = std::string(r.Cancelled ? "Import cancelled: " : "Import finished: ") +
                       std::to_string(r.Added) + " added, " + std::to_string(r.Skipped) +
                       " already in the archive, " + std::to_string(r.Failed.size()) + " could not be read.";
    for (std::size_t k = 0; k < r.Failed.size() && k < kListedFailures; ++k)
        text += "\n" + r.Failed[k].first + ": " + r.Failed[k].second;
    if (r.Failed.size() > kListedFailures)
        text += "\n... and " + std::to_string(r.Failed.size() - kListedFailures) + " more.";
    return text;
}

} // namespace lumidrax
