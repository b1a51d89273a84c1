#pragma once
// Printing a report as plain text lines: a heading with the report's name,
// an empty line and the text, in the report font. Lines longer than the
// page wrap; a page ends where the next line does not fit. No headers,
// footers or page numbers.

#include <QStringList>

class QFont;
class QPrinter;

namespace lumidrax {

// "Lumidrax Report " + the display name, an empty line, then every line of
// the text as it stands.
QStringList ReportPrintLines(const QString& displayName, const QString& text);

// Paints the lines onto the printer's pages.
void PrintTextLines(QPrinter& printer, const QFont& font, const QStringList& lines);

} // namespace lumidrax
