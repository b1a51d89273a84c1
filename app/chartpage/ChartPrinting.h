#pragma once
// Printing, copying and exporting the chart page. Each command puts the
// window for a moment into the print layout (tool bar, information panels,
// cursor read-out, chart list and status bar hidden, `PrintInfo` shown when
// the info is included, the page tab retitled), takes the page's geometry
// from it, paints the page through ChartPagePainter and restores the
// layout exactly as it was.
//
//   mi_file_printClick   printer set-up (a PDF file is offered), preview,
//                        the page scaled to fit the printable area
//   mi_edit_copyClick    "Include Charts Info ?", the page as a bitmap on
//                        the clipboard
//   mi_file_exportClick  "Export Picture...": the page as PNG or PDF at a
//                        width the user chooses

#include "ChartPagePainter.h"

#include <QObject>
#include <QSize>

#include <optional>
#include <string>

class QMainWindow;
class QPrinter;
class QTabWidget;

namespace lumidrax {

class ChartMenus;
class ChartPage;
class IDialogs;

class ChartPrinting : public QObject {
    Q_OBJECT
  public:
    struct Context {
        QMainWindow* Window = nullptr;
        QTabWidget* Pages = nullptr;
        ChartPage* Page = nullptr;
        ChartMenus* Menus = nullptr;
        const TMereni* Charts = nullptr;
        IDialogs* Dialogs = nullptr;
    };
    explicit ChartPrinting(const Context& context, QObject* parent = nullptr);

    void mi_file_printClick();
    void mi_edit_copyClick();
    void mi_file_exportClick();

    // The page the last command put out (nothing before the first).
    const std::optional<ChartPageLayout>& LastPage() const { return lastPage_; }

  private:
    // Enters the print layout, reads the page from the window and leaves
    // the layout again.
    ChartPageLayout CapturePage(bool withInfo);
    // Prints `page` on a printer the user set up; a PDF file is written
    // atomically. Returns an error text or nothing.
    std::optional<std::string> PrintPage(QPrinter& printer, const ChartPageLayout& page);

    Context c_;
    std::optional<ChartPageLayout> lastPage_;
};

} // namespace lumidrax
