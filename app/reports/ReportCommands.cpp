#include "ReportCommands.h"

#include "IDialogs.h"
#include "ReportListDelegate.h"
#include "ReportMenus.h"
#include "ReportPage.h"
#include "ReportPrint.h"
#include "Settings.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QTextDocument>

namespace lumidrax {
namespace {

constexpr int kReportPage = 1;
constexpr int kWidthStep = 20;
constexpr int kWidthMargin = 100;

// The memo's text as report lines: one per line of the memo, a trailing
// empty line kept. The document's raw text, not toPlainText(), which turns
// no-break spaces into plain ones; its paragraph ends and the line breaks
// typed with Shift+Return end report lines.
std::vector<std::string> MemoLines(const QPlainTextEdit& memo)
{
    QString text = memo.document()->toRawText();
    std::vector<std::string> lines;
    if (text.isEmpty())
        return lines;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    return lines;
}

// List and memo: window white while reports are open, the page's colour
// when there are none.
void Paint(QWidget* w, bool open)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, open ? QApplication::palette().color(QPalette::Base)
                                    : QApplication::palette().color(QPalette::Window));
    w->setPalette(p);
    w->setEnabled(open);
}

bool DefaultPrinterSetUp(QPrinter& printer, QWidget* window)
{
    QPrintDialog dialog(&printer, window);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

ReportCommands::ReportCommands(ReportCommandsParts parts, QObject* parent)
    : QObject(parent), parts_(parts),
      files_(std::make_unique<ReportFileCommands>(reports_, *parts_.AppSettings, *parts_.Services.Dialogs))
{
    printerSetUp_ = [window = parts_.Services.Window](QPrinter& printer) {
        return DefaultPrinterSetUp(printer, window);
    };
    ConnectCommands();
    ShowReports(0);
}

ReportCommands::~ReportCommands() = default;

void ReportCommands::ConnectCommands()
{
    ReportMenus& m = *parts_.Menus;
    const std::pair<QAction*, void (ReportCommands::*)()> commands[] = {
        {m.mi_rep_file_open, &ReportCommands::mi_rep_file_openClick},
        {m.mi_rep_file_save, &ReportCommands::mi_rep_file_saveClick},
        {m.mi_rep_file_saveas, &ReportCommands::mi_rep_file_saveasClick},
        {m.mi_rep_file_close, &ReportCommands::mi_rep_file_closeClick},
        {m.mi_rep_file_closeall, &ReportCommands::mi_rep_file_closeallClick},
        {m.mi_rep_file_print, &ReportCommands::mi_rep_file_printClick},
        {m.mi_rep_edit_copy, &ReportCommands::mi_rep_edit_copyClick},
        {m.mi_rep_edit_cut, &ReportCommands::mi_rep_edit_cutClick},
        {m.mi_rep_edit_paste, &ReportCommands::mi_rep_edit_pasteClick},
        {m.mi_rep_edit_selectall, &ReportCommands::mi_rep_edit_selectallClick},
        {m.mi_rep_width_inc, &ReportCommands::mi_rep_width_incClick},
        {m.mi_rep_width_dec, &ReportCommands::mi_rep_width_decClick},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, handler);
    m.mi_rep_file_open->setEnabled(true);
    m.mi_rep_width_inc->setEnabled(true);
    m.mi_rep_width_dec->setEnabled(true);

    QPlainTextEdit* memo = parts_.Page->Memo();
    connect(memo, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_)
            MarkEdited();
    });
    // The memo's own paste is replaced by one that looks at the clipboard
    // first. The memo is remembered here: its events come also while the
    // page is being torn down, when the page can no longer be asked.
    memo_ = memo;
    memo->installEventFilter(this);
    connect(parts_.Page->ReportList(), &QListWidget::currentRowChanged, this, [this] {
        if (!filling_)
            lb_reportsClick();
    });
}

void ReportCommands::SetCommandsEnabled(bool on)
{
    ReportMenus& m = *parts_.Menus;
    for (QAction* a : {m.mi_rep_file_close, m.mi_rep_file_closeall, m.mi_rep_file_save, m.mi_rep_file_saveas,
                       m.mi_rep_file_print, m.mi_rep_edit_copy, m.mi_rep_edit_cut, m.mi_rep_edit_paste,
                       m.mi_rep_edit_selectall})
        a->setEnabled(on);
}

void ReportCommands::ShowReports(int index)
{
    QListWidget* list = parts_.Page->ReportList();
    QPlainTextEdit* memo = parts_.Page->Memo();
    filling_ = true;
    list->clear();
    const bool open = reports_.Count() > 0;
    Paint(list, open);
    Paint(memo, open);
    SetCommandsEnabled(open);
    if (!open) {
        memo->clear();
        current_ = -1;
        filling_ = false;
        return;
    }
    for (int i = 0; i < reports_.Count(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(reports_.At(i).DisplayName), list);
        item->setData(ReportListDelegate::kUnsavedRole, !reports_.At(i).Saved);
    }
    current_ = std::clamp(index, 0, reports_.Count() - 1);
    list->setCurrentRow(current_);
    memo->setPlainText(QString::fromStdString(JoinLines(reports_.At(current_).Lines)));
    filling_ = false;
    ShowSavedState();
}

void ReportCommands::ShowSavedState()
{
    const bool unsaved = current_ >= 0 && !reports_.At(current_).Saved;
    parts_.Menus->mi_rep_file_save->setEnabled(unsaved);
    if (QListWidgetItem* item = parts_.Page->ReportList()->item(current_))
        item->setData(ReportListDelegate::kUnsavedRole, unsaved);
}

void ReportCommands::lb_reportsClick()
{
    CopyMemoBack();
    const int row = parts_.Page->ReportList()->currentRow();
    if (row < 0 || row >= reports_.Count())
        return;
    current_ = row;
    filling_ = true;
    parts_.Page->Memo()->setPlainText(QString::fromStdString(JoinLines(reports_.At(current_).Lines)));
    filling_ = false;
    ShowSavedState();
}

void ReportCommands::CopyMemoBack()
{
    if (current_ >= 0 && current_ < reports_.Count())
        reports_.At(current_).Lines = MemoLines(*parts_.Page->Memo());
}

void ReportCommands::MarkEdited()
{
    if (current_ < 0 || current_ >= reports_.Count())
        return;
    reports_.At(current_).Saved = false;
    ShowSavedState();
}

void ReportCommands::ReportReceived(int index)
{
    // The memo's edits stay with the report they were made in.
    CopyMemoBack();
    ShowReports(index);
}

void ReportCommands::SaveReceived(ReportId id)
{
    CopyMemoBack();
    files_->SaveById(id, true);
    ShowReports(current_);
}

void ReportCommands::PageLeft()
{
    CopyMemoBack();
}

bool ReportCommands::SaveAllForExit()
{
    CopyMemoBack();
    const bool done = files_->SaveAllForExit();
    ShowReports(current_);
    return done;
}

void ReportCommands::ApplyFont(const std::string& name, int size)
{
    QFont font(QString::fromStdString(name), size);
    font.setStyleHint(QFont::TypeWriter);
    parts_.Page->SetReportFont(font);
}

void ReportCommands::ApplyListWidth(std::optional<int> width)
{
    parts_.Page->SetListWidth(width.value_or(parts_.Services.Window->width() / 2));
}

void ReportCommands::mi_rep_file_openClick()
{
    const std::vector<std::string> names = files_->AskOpenNames();
    if (names.empty())
        return;
    CopyMemoBack();
    files_->Open(names);
    ShowReports(reports_.Count() - 1);
    parts_.Pages->setCurrentIndex(kReportPage);
}

void ReportCommands::mi_rep_file_saveClick()
{
    SaveCurrent(false);
}

void ReportCommands::mi_rep_file_saveasClick()
{
    SaveCurrent(true);
}

void ReportCommands::SaveCurrent(bool saveAs)
{
    if (current_ < 0)
        return;
    CopyMemoBack();
    if (saveAs ? files_->SaveAs(current_) : files_->Save(current_))
        ShowReports(current_);
}

void ReportCommands::mi_rep_file_closeClick()
{
    if (current_ >= 0 && files_->Close(current_))
        ShowReports(0);
}

void ReportCommands::mi_rep_file_closeallClick()
{
    if (current_ < 0)
        return;
    CopyMemoBack();
    if (files_->CloseAll() != CloseAllOutcome::Cancelled)
        ShowReports(0);
}

void ReportCommands::mi_rep_file_printClick()
{
    if (current_ < 0)
        return;
    // The report printed is the one shown now, as it stands now: a report
    // received while the printer dialog is open is shown instead.
    CopyMemoBack();
    const QString name = QString::fromStdString(reports_.At(current_).DisplayName);
    const QString text = QString::fromStdString(JoinLines(reports_.At(current_).Lines));
    QPrinter printer(QPrinter::HighResolution);
    // The job, and the document it makes, go by the report's file name.
    printer.setDocName(QFileInfo(name).fileName());
    printer.setCreator(QStringLiteral("Lumidrax"));
    if (!printerSetUp_ || !printerSetUp_(printer))
        return;
    PrintTextLines(printer, parts_.Page->Memo()->font(), ReportPrintLines(name, text));
}

void ReportCommands::mi_rep_edit_copyClick()
{
    parts_.Page->Memo()->setFocus();
    parts_.Page->Memo()->copy();
}

void ReportCommands::mi_rep_edit_cutClick()
{
    parts_.Page->Memo()->setFocus();
    parts_.Page->Memo()->cut();
    MarkEdited();
}

void ReportCommands::mi_rep_edit_pasteClick()
{
    // Only text is pasted; an empty clipboard (which the widget's own paste
    // does not survive under X11) pastes nothing.
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty() || current_ < 0)
        return;
    parts_.Page->Memo()->setFocus();
    parts_.Page->Memo()->insertPlainText(text);
    MarkEdited();
}

void ReportCommands::mi_rep_edit_selectallClick()
{
    parts_.Page->Memo()->setFocus();
    parts_.Page->Memo()->selectAll();
}

void ReportCommands::mi_rep_width_incClick()
{
    const int width = parts_.Page->ListWidth();
    if (width > kWidthMargin)
        parts_.Page->SetListWidth(width - kWidthStep);
}

void ReportCommands::mi_rep_width_decClick()
{
    const int width = parts_.Page->ListWidth();
    if (width < parts_.Services.Window->width() - kWidthMargin)
        parts_.Page->SetListWidth(width + kWidthStep);
}

bool ReportCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == memo_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        mi_rep_edit_pasteClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumidrax
