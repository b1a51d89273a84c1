#pragma once
// Paints a test report onto a paged device: a PDF writer or a printer, in
// A4 portrait with 15 mm margins. All vector: the chart pictures go through
// the page painter printing uses (ChartPagePainter), never through an image.
//
//   one chart:   title, header, overall verdict, then the chart's section
//   more charts: a summary page (title, header, each chart's verdict, the
//                overall verdict), then one section per chart, each on a new
//                page
//   a section:   heading, picture (chart and baseline, event marks,
//                cursors), cursor read-outs, instrument settings and DC
//                values, event table, limits with value, limit, outcome and
//                note, the chart's verdict
// Tables go on over page breaks with their header repeated; each page ends
// with the job, the cable and the page number.

#include "TestReportContent.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace lumidrax {

// The page size and margins a report asks of its device.
void SetReportPageLayout(QPagedPaintDevice& device);

// Paints the whole report; false when the device could not be painted on.
// Returns the number of pages in `pages` when given.
bool PaintTestReport(QPagedPaintDevice& device, const TestReportContent& report, int* pages = nullptr);

// The report as PDF bytes (empty when it could not be made). `creator`
// goes into the document's information.
QByteArray TestReportPdf(const TestReportContent& report, const QString& creator = {});

} // namespace lumidrax
