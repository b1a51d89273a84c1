#include "QtDialogs.h"

#include "QuestionDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace lumidrax {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

QString QtNameFilter(const std::string& filter)
{
    const QStringList parts = Q(filter).split('|');
    QStringList filters;
    for (int k = 0; k + 1 < parts.size(); k += 2)
        filters << parts[k] + " (" + QString(parts[k + 1]).replace(';', ' ') + ")";
    return filters.join(";;");
}

int QtDialogs::AskYesNo(const std::string& caption, const std::string& text, bool withCancel)
{
    QuestionDialog dialog(withCancel ? QuestionDialog::Kind::YesNoCancel : QuestionDialog::Kind::YesNo,
                          Q(caption), Q(text), parent_);
    return dialog.Ask();
}

void QtDialogs::ShowMessageBox(const std::string& caption, const std::string& text)
{
    QuestionDialog dialog(QuestionDialog::Kind::Message, Q(caption), Q(text), parent_);
    dialog.Ask();
}

std::vector<std::string> QtDialogs::OpenFileNames(const FileDialogRequest& request)
{
    QFileDialog dialog(parent_, Q(request.Title), Q(request.Folder), QtNameFilter(request.Filter));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    std::vector<std::string> names;
    if (dialog.exec() != QDialog::Accepted)
        return names;
    for (const QString& name : dialog.selectedFiles())
        names.push_back(name.toStdString());
    return names;
}

std::optional<std::string> QtDialogs::SaveFileName(const FileDialogRequest& request)
{
    QFileDialog dialog(parent_, Q(request.Title), Q(request.Folder), QtNameFilter(request.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The chart save asks itself before overwriting.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.DefaultExt.empty())
        dialog.setDefaultSuffix(Q(request.DefaultExt));
    if (!request.FileName.empty())
        dialog.selectFile(Q(request.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::InputBox(const std::string& caption, const std::string& prompt,
                                               const std::string& value)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, Q(caption), Q(prompt), QLineEdit::Normal, Q(value), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

std::optional<std::uint32_t> QtDialogs::ChooseColor(std::uint32_t initial)
{
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(initial & 0xFFFFFFu), parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(chosen.rgb() & 0xFFFFFFu);
}

bool QtDialogs::SetUpPrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent_);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::PreviewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint)
{
    // The preview with Print and Cancel only: the printer is chosen already.
    QDialog dialog(parent_);
    dialog.setWindowTitle(QObject::tr("Print Preview"));
    auto* preview = new QPrintPreviewWidget(&printer, &dialog);
    QObject::connect(preview, &QPrintPreviewWidget::paintRequested, &dialog,
                     [&paint](QPrinter* p) { paint(*p); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    buttons->addButton(QObject::tr("&Print"), QDialogButtonBox::AcceptRole)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(preview);
    layout->addWidget(buttons);
    dialog.resize(800, 640);
    preview->fitInView();
    return dialog.exec() == QDialog::Accepted;
}

} // namespace lumidrax
