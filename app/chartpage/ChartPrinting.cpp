#include "ChartPrinting.h"

#include "ChartInfoPanel.h"
#include "ChartListPanel.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "CursorCoordsPanel.h"
#include "CursorReadoutPanels.h"
#include "EventPanel.h"
#include "FileIO.h"
#include "IDialogs.h"
#include "PrintInfoStrip.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QMainWindow>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

#include <vector>

namespace lumidrax {

namespace {

constexpr int kChartTab = 0;
constexpr int kReportTab = 1;
constexpr int kMinExportWidth = 80;
constexpr int kMaxExportWidth = 20000;

// The print layout while it lives; every widget it touches gets back the
// visibility it had, the tabs their captions, the focus its widget. The
// event table is left out as well: the plot takes the page's full width.
class PrintLayout {
  public:
    PrintLayout(QMainWindow& window, QTabWidget& pages, ChartPage& page, ChartMenus& menus, bool withInfo)
        : pages_(pages), chartCaption_(pages.tabText(kChartTab)),
          reportTabVisible_(pages.count() > kReportTab && pages.isTabVisible(kReportTab)),
          focus_(QApplication::focusWidget())
    {
        CursorReadoutPanels* r = page.Readouts();
        auto* eventRow = qobject_cast<QSplitter*>(page.Events()->parentWidget());
        for (QWidget* w :
             {static_cast<QWidget*>(menus.ToolBar), static_cast<QWidget*>(r->ActiveInfo()),
              static_cast<QWidget*>(r->RefInfo()), static_cast<QWidget*>(r->Coords()),
              static_cast<QWidget*>(page.Events()),
              static_cast<QWidget*>(eventRow != nullptr ? eventRow->handle(1) : nullptr),
              static_cast<QWidget*>(page.ListPanel()), static_cast<QWidget*>(page.Splitter()->handle(1)),
              static_cast<QWidget*>(window.statusBar())})
            Hide(w);
        if (withInfo)
            Show(page.PrintInfo());
        if (reportTabVisible_)
            pages.setTabVisible(kReportTab, false);
        pages.setTabText(kChartTab, QString::fromLatin1(kPrintTitle));
        Settle();
    }
    ~PrintLayout()
    {
        pages_.setTabText(kChartTab, chartCaption_);
        if (reportTabVisible_)
            pages_.setTabVisible(kReportTab, true);
        for (auto it = changed_.rbegin(); it != changed_.rend(); ++it)
            it->first->setHidden(it->second);
        Settle();
        if (focus_ != nullptr && focus_->isVisible())
            focus_->setFocus(Qt::OtherFocusReason);
    }
    PrintLayout(const PrintLayout&) = delete;
    PrintLayout& operator=(const PrintLayout&) = delete;

  private:
    void Hide(QWidget* w) { Set(w, true); }
    void Show(QWidget* w) { Set(w, false); }
    void Set(QWidget* w, bool hidden)
    {
        if (w == nullptr || w->isHidden() == hidden)
            return;
        changed_.emplace_back(w, w->isHidden());
        w->setHidden(hidden);
    }
    // Lets the layouts place the widgets now, so that their sizes are those
    // of the print layout.
    static void Settle()
    {
        for (int pass = 0; pass < 4; ++pass)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }

    QTabWidget& pages_;
    QString chartCaption_;
    bool reportTabVisible_;
    QPointer<QWidget> focus_;
    std::vector<std::pair<QWidget*, bool>> changed_;
};

// What a print job and its document are called: the file name of the
// active chart, else of the reference chart, else of the first chart
// drawn.
QString PrintedChartName(const TMereni& charts)
{
    auto drawn = [&charts](int i) { return i >= 1 && i <= charts.Count && charts.Rec(i).Shown; };
    int chosen = drawn(charts.ActiveIndex) ? charts.ActiveIndex
                 : drawn(charts.RefIndex)  ? charts.RefIndex
                                           : 0;
    for (int i = 1; chosen == 0 && i <= charts.Count; ++i)
        if (drawn(i))
            chosen = i;
    if (chosen == 0)
        return QStringLiteral("Lumidrax chart");
    return QFileInfo(QString::fromStdString(charts.Rec(chosen).DisplayName)).fileName();
}

void PaintOnSheet(QPainter& painter, const ChartPageLayout& page, const QPageLayout& sheet, int resolution)
{
    PaintChartPageFitted(painter, page, PrintTarget(page.Size(), sheet, resolution));
}

std::string Lower(std::string s)
{
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return s;
}

bool IsPdf(const std::string& path)
{
    const std::string l = Lower(path);
    return l.size() >= 4 && l.compare(l.size() - 4, 4, ".pdf") == 0;
}

std::optional<std::string> WriteBytes(const std::string& path, const QByteArray& bytes)
{
    const SaveOutcome written = WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
    if (!written.Done())
        return written.Message;
    return std::nullopt;
}

} // namespace

ChartPrinting::ChartPrinting(const Context& context, QObject* parent) : QObject(parent), c_(context)
{
}

ChartPageLayout ChartPrinting::CapturePage(bool withInfo)
{
    ChartPage& page = *c_.Page;
    // The strip's height is set before the layout changes, for both
    // answers of the copy question.
    page.PrintInfo()->SetCharts(*c_.Charts, page.width());
    ChartPageLayout out;
    ChartViewPanel* view = page.View();
    // The events stay marked on the X strip while their table is left out.
    std::vector<EventMark> marks = view->Plot()->State().EventMarks;
    PrintLayout layout(*c_.Window, *c_.Pages, page, *c_.Menus, withInfo);
    out.View = view->Plot()->State();
    out.View.EventMarks = std::move(marks);
    out.View.Grid = true;
    out.View.AxisXHeight = view->AxisX()->height();
    out.View.AxisYWidth = view->AxisY()->width();
    out.Width = view->width();
    out.Title = QString::fromLatin1(kPrintTitle);
    out.TitleFont = c_.Pages->tabBar()->font();
    out.TitleHeight = c_.Pages->tabBar()->height();
    out.InfoFont = page.PrintInfo()->InfoFont();
    if (withInfo)
        out.Info = page.PrintInfo()->Layout();
    lastPage_ = out;
    return out;
}

std::optional<std::string> ChartPrinting::PrintPage(QPrinter& printer, const ChartPageLayout& page)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // Painted into memory and written like every file the program
        // writes.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&buffer);
            pdf.setCreator(printer.creator());
            pdf.setTitle(printer.docName());
            pdf.setResolution(printer.resolution());
            pdf.setPageLayout(printer.pageLayout());
            QPainter painter(&pdf);
            PaintOnSheet(painter, page, pdf.pageLayout(), pdf.resolution());
        }
        return WriteBytes(printer.outputFileName().toStdString(), bytes);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return std::string("the printer could not be started");
    PaintOnSheet(painter, page, printer.pageLayout(), printer.resolution());
    painter.end();
    return std::nullopt;
}

void ChartPrinting::mi_file_printClick()
{
    QPrinter printer(QPrinter::HighResolution);
    // The page is wider than high.
    printer.setPageOrientation(QPageLayout::Landscape);
    // The job, and the document it makes, go by the chart's file name.
    printer.setDocName(PrintedChartName(*c_.Charts));
    printer.setCreator(QStringLiteral("Lumidrax"));
    if (!c_.Dialogs->SetUpPrinter(printer))
        return;
    const ChartPageLayout page = CapturePage(true);
    const bool go = c_.Dialogs->PreviewPrint(printer, [&page](QPrinter& p) {
        QPainter painter(&p);
        PaintOnSheet(painter, page, p.pageLayout(), p.resolution());
    });
    if (!go)
        return;
    if (const auto error = PrintPage(printer, page))
        c_.Dialogs->ShowErrorMessage(*error);
}

void ChartPrinting::mi_edit_copyClick()
{
    c_.Page->PrintInfo()->SetCharts(*c_.Charts, c_.Page->width());
    const bool withInfo = c_.Dialogs->AskYesNo("Copy", "Include Charts Info ?", false) == kAnswerYes;
    const ChartPageLayout page = CapturePage(withInfo);
    QApplication::clipboard()->setImage(RenderChartPage(page));
}

void ChartPrinting::mi_file_exportClick()
{
    const auto path = c_.Dialogs->SaveFileName({.Title = "Export Picture",
                                                .Filter = "PNG picture|*.png|PDF document|*.pdf",
                                                .FileName = "chart.png",
                                                .DefaultExt = "png"});
    if (!path)
        return;
    const ChartPageLayout page = CapturePage(true);
    const auto typed = c_.Dialogs->InputBox(
        "Export Picture", "Width of the picture in pixels:", std::to_string(page.Size().width()));
    if (!typed)
        return;
    bool ok = false;
    const int width = QString::fromStdString(*typed).trimmed().toInt(&ok);
    if (!ok || width < kMinExportWidth || width > kMaxExportWidth) {
        c_.Dialogs->ShowErrorMessage("the width must be a whole number from " +
                                     std::to_string(kMinExportWidth) + " to " +
                                     std::to_string(kMaxExportWidth));
        return;
    }
    const QByteArray bytes =
        IsPdf(*path) ? ChartPagePdf(page, width, QStringLiteral("Lumidrax")) : ChartPagePng(page, width);
    if (bytes.isEmpty()) {
        c_.Dialogs->ShowErrorMessage("the picture could not be made");
        return;
    }
    if (const auto error = WriteBytes(*path, bytes))
        c_.Dialogs->ShowErrorMessage(*error);
}

} // namespace lumidrax
