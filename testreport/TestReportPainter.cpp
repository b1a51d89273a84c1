#include "TestReportPainter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <functional>

namespace lumidrax {

namespace {

// Logical units: tenths of a millimetre on the sheet.
constexpr double kMarginMm = 15;
constexpr double kWidth = 1800;  // 210 mm less the margins
constexpr double kHeight = 2670; // 297 mm less the margins
constexpr double kFooter = 60;
constexpr double kPad = 8;
constexpr double kGap = 30;
constexpr int kPdfResolution = 1200;

const QColor kPassColour(0, 128, 0);
const QColor kFailColour(192, 0, 0);
const QColor kIncompleteColour(176, 112, 0);
const QColor kRuleColour(150, 150, 150);
const QColor kHeaderFill(228, 228, 228);

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

QFont ReportFont(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QColor VerdictColour(Verdict v)
{
    return v == Verdict::Pass ? kPassColour : v == Verdict::Fail ? kFailColour : kIncompleteColour;
}

QColor OutcomeColour(CriterionOutcome o)
{
    return o == CriterionOutcome::Pass   ? kPassColour
           : o == CriterionOutcome::Fail ? kFailColour
                                         : kIncompleteColour;
}

struct Column {
    QString Header;
    double Width; // fraction of the content width
    Qt::Alignment Align = Qt::AlignLeft;
};

struct Row {
    Row(std::vector<QString> cells, int coloured = -1, QColor colour = {})
        : Cells(std::move(cells)), ColouredCell(coloured), Colour(colour)
    {
    }
    std::vector<QString> Cells;
    // A cell painted in its own colour (-1: none).
    int ColouredCell;
    QColor Colour;
};

// The pages as they fill from the top; measures only (counting the pages)
// when it has no painter.
class ReportFlow {
  public:
    ReportFlow(QPainter* painter, QPagedPaintDevice* device, const TestReportContent& report, int pages)
        : p_(painter), device_(device), report_(report), pages_(pages)
    {
    }

    int Page() const { return page_; }

    void NewPage()
    {
        Footer();
        if (p_ != nullptr)
            device_->newPage();
        ++page_;
        y_ = 0;
    }
    // Room for `h` more units, else a new page; true when a page began.
    bool Need(double h)
    {
        if (y_ > 0 && y_ + h > kHeight - kFooter) {
            NewPage();
            return true;
        }
        return false;
    }
    void Skip(double h) { y_ += h; }

    double TextHeight(const QFont& font, double width, const QString& text) const
    {
        const QFontMetricsF fm(font);
        return fm.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
    }
    void Text(const QRectF& r, const QFont& font, const QString& text, Qt::Alignment align = Qt::AlignLeft,
              const QColor& colour = Qt::black)
    {
        if (p_ == nullptr)
            return;
        p_->setFont(font);
        p_->setPen(colour);
        p_->drawText(r, static_cast<int>(align | Qt::AlignTop | Qt::TextWordWrap), text);
    }
    // A line of text across the page.
    void Paragraph(const QFont& font, const QString& text, const QColor& colour = Qt::black)
    {
        const double h = TextHeight(font, kWidth, text) + kPad;
        Need(h);
        Text(QRectF(0, y_, kWidth, h), font, text, Qt::AlignLeft, colour);
        y_ += h;
    }
    void Rule()
    {
        if (p_ != nullptr) {
            p_->setPen(QPen(kRuleColour, 3));
            p_->drawLine(QPointF(0, y_), QPointF(kWidth, y_));
        }
        y_ += kPad;
    }
    void Table(const std::vector<Column>& columns, const std::vector<Row>& rows)
    {
        const QFont body = ReportFont(30);
        const QFont head = ReportFont(30, true);
        auto height = [&](const std::vector<QString>& cells, const QFont& font) {
            double h = 0;
            for (std::size_t c = 0; c < columns.size() && c < cells.size(); ++c)
                h = std::max(h, TextHeight(font, columns[c].Width * kWidth - 2 * kPad, cells[c]));
            return h + 2 * kPad;
        };
        std::vector<QString> headers;
        for (const Column& c : columns)
            headers.push_back(c.Header);
        const double headHeight = height(headers, head);
        auto paintRow = [&](const std::vector<QString>& cells, const QFont& font, double h, bool header,
                            const Row* row) {
            if (p_ != nullptr && header)
                p_->fillRect(QRectF(0, y_, kWidth, h), kHeaderFill);
            double x = 0;
            for (std::size_t c = 0; c < columns.size(); ++c) {
                const double w = columns[c].Width * kWidth;
                const QColor colour = row != nullptr && row->ColouredCell == static_cast<int>(c)
                                          ? row->Colour
                                          : QColor(Qt::black);
                if (c < cells.size())
                    Text(QRectF(x + kPad, y_ + kPad, w - 2 * kPad, h - kPad), font, cells[c],
                         columns[c].Align, colour);
                x += w;
            }
            y_ += h;
            if (p_ != nullptr) {
                p_->setPen(QPen(kRuleColour, 2));
                p_->drawLine(QPointF(0, y_), QPointF(kWidth, y_));
            }
        };
        Need(headHeight + height(rows.empty() ? headers : rows.front().Cells, body));
        paintRow(headers, head, headHeight, true, nullptr);
        for (const Row& row : rows) {
            const double h = height(row.Cells, body);
            if (Need(h))
                paintRow(headers, head, headHeight, true, nullptr);
            paintRow(row.Cells, body, h, false, &row);
        }
        y_ += kGap;
    }
    void Picture(const ChartPageLayout& page)
    {
        const QSize size = page.Size();
        if (size.isEmpty())
            return;
        const double h = kWidth * size.height() / size.width();
        Need(h);
        if (p_ != nullptr)
            PaintChartPageFitted(*p_, page, QRectF(0, y_, kWidth, h));
        y_ += h + kGap;
    }
    void Footer()
    {
        if (p_ == nullptr)
            return;
        const QFont small = ReportFont(26);
        const double top = kHeight - kFooter + kPad;
        p_->setPen(QPen(kRuleColour, 2));
        p_->drawLine(QPointF(0, top), QPointF(kWidth, top));
        QStringList who;
        if (!report_.Header.Job.empty())
            who << QStringLiteral("Job %1").arg(Q(report_.Header.Job));
        if (!report_.Header.Cable.empty())
            who << QStringLiteral("Cable %1").arg(Q(report_.Header.Cable));
        who << QStringLiteral("Verdict %1").arg(Q(std::string(VerdictName(report_.Overall))));
        Text(QRectF(0, top + kPad, kWidth * 0.75, kFooter), small, who.join(QStringLiteral(" · ")));
        Text(QRectF(kWidth * 0.75, top + kPad, kWidth * 0.25, kFooter), small,
             QStringLiteral("Page %1 of %2").arg(page_).arg(pages_), Qt::AlignRight);
    }
    void Finish() { Footer(); }

  private:
    QPainter* p_;
    QPagedPaintDevice* device_;
    const TestReportContent& report_;
    int pages_;
    int page_ = 1;
    double y_ = 0;
};

void Title(ReportFlow& f, const TestReportContent& r)
{
    f.Paragraph(ReportFont(60, true), QStringLiteral("Cable test report"));
    std::vector<Row> rows;
    const auto& fields = ReportHeaderFields();
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        Row row({});
        for (std::size_t k = i; k < i + 2 && k < fields.size(); ++k) {
            row.Cells.push_back(Q(std::string(fields[k].Label)));
            const std::string& v = r.Header.*(fields[k].Member);
            row.Cells.push_back(v.empty() ? QStringLiteral("-") : Q(v));
        }
        rows.push_back(std::move(row));
    }
    f.Table({{QStringLiteral("Header"), 0.18}, {QString(), 0.32}, {QString(), 0.18}, {QString(), 0.32}},
            rows);
    QString limits =
        QStringLiteral("Limits: %1").arg(r.TemplateName.empty() ? QStringLiteral("-") : Q(r.TemplateName));
    if (!r.TemplateFile.empty())
        limits += QStringLiteral(" (%1)").arg(Q(r.TemplateFile));
    f.Paragraph(ReportFont(32), limits);
}

void OverallVerdict(ReportFlow& f, const TestReportContent& r)
{
    f.Paragraph(ReportFont(56, true),
                QStringLiteral("Verdict: %1").arg(Q(std::string(VerdictName(r.Overall)))),
                VerdictColour(r.Overall));
    f.Skip(kGap);
}

void Summary(ReportFlow& f, const TestReportContent& r)
{
    f.Paragraph(ReportFont(42, true), QStringLiteral("Charts"));
    std::vector<Row> rows;
    for (const ReportChartSection& s : r.Sections) {
        int failed = 0, open = 0;
        for (const CriterionResult& c : s.Results) {
            failed += c.Outcome == CriterionOutcome::Fail;
            open += c.Outcome == CriterionOutcome::NotEvaluated;
        }
        Row row{{QString::number(s.Number), Q(s.Name), Q(s.Info.DateTime), QString::number(failed),
                 QString::number(open), Q(std::string(VerdictName(s.ChartVerdict)))},
                5,
                VerdictColour(s.ChartVerdict)};
        rows.push_back(std::move(row));
    }
    f.Table({{QStringLiteral("No."), 0.07, Qt::AlignRight},
             {QStringLiteral("Chart"), 0.38},
             {QStringLiteral("Measured"), 0.2},
             {QStringLiteral("Failed"), 0.1, Qt::AlignRight},
             {QStringLiteral("Not evaluated"), 0.12, Qt::AlignRight},
             {QStringLiteral("Verdict"), 0.13}},
            rows);
}

void Section(ReportFlow& f, const ReportChartSection& s)
{
    f.Paragraph(ReportFont(42, true), QStringLiteral("Chart %1: %2").arg(s.Number).arg(Q(s.Name)));
    f.Paragraph(ReportFont(30), s.BaselineName.empty()
                                    ? QStringLiteral("Baseline: none")
                                    : QStringLiteral("Baseline: %1").arg(Q(s.BaselineName)));
    if (!s.Description.empty())
        f.Paragraph(ReportFont(30), QStringLiteral("Description: %1").arg(Q(s.Description)));
    f.Picture(s.Picture);

    f.Paragraph(ReportFont(36, true), QStringLiteral("Cursors"));
    auto or_dash = [](const std::string& t) { return t.empty() ? QStringLiteral("-") : Q(t); };
    f.Table({{QString(), 0.2},
             {QStringLiteral("Distance"), 0.4, Qt::AlignRight},
             {QStringLiteral("Level"), 0.4, Qt::AlignRight}},
            {{{QStringLiteral("Active"), or_dash(s.Cursors.MainX), or_dash(s.Cursors.MainY)}},
             {{QStringLiteral("Reference"), or_dash(s.Cursors.RefX), or_dash(s.Cursors.RefY)}},
             {{QStringLiteral("Difference"), or_dash(s.Cursors.DiffX), or_dash(s.Cursors.DiffY)}}});

    f.Paragraph(ReportFont(36, true), QStringLiteral("Instrument settings and DC values"));
    const bool base = s.BaselineInfo.has_value();
    const ChartInfoTexts& b = base ? *s.BaselineInfo : s.Info;
    auto row = [&](const char* label, const std::string& mine, const std::string& theirs) {
        Row r{{QString::fromLatin1(label), or_dash(mine)}};
        if (base)
            r.Cells.push_back(or_dash(theirs));
        return r;
    };
    std::vector<Column> columns = {{QString(), 0.3}, {QStringLiteral("Chart"), base ? 0.35 : 0.7}};
    if (base)
        columns.push_back({QStringLiteral("Baseline"), 0.35});
    f.Table(columns,
            {row("Instrument", s.Model, s.BaselineModel), row("Serial number", s.Serial, s.BaselineSerial),
             row("Measured", s.Info.DateTime, b.DateTime), row("Impedance", s.Info.Impedance, b.Impedance),
             row("Velocity", s.Info.Velocity, b.Velocity), row("Noise", s.Info.Noise, b.Noise),
             row("DC level", s.Info.DC, b.DC), row("Filter", s.Info.Filter, b.Filter),
             row("Edge", s.Info.Edge, b.Edge), row("DC voltage", s.Info.Voltage, b.Voltage),
             row("DC resistance", s.Info.Resistance, b.Resistance)});

    f.Paragraph(ReportFont(36, true), QStringLiteral("Events"));
    std::vector<Row> events;
    for (const EventRow& e : s.Events.Rows) {
        Row r{{Q(e.Number), Q(e.Distance), Q(e.Kind), Q(e.Peak), Q(e.FromPrevious)}};
        if (s.Events.Compared)
            r.Cells.push_back(Q(e.Change));
        events.push_back(std::move(r));
    }
    std::vector<Column> eventColumns = {{QStringLiteral("No."), 0.08, Qt::AlignRight},
                                        {QStringLiteral("Distance [m]"), 0.18, Qt::AlignRight},
                                        {QStringLiteral("Kind"), 0.16},
                                        {QStringLiteral("Peak [%]"), 0.14, Qt::AlignRight},
                                        {QStringLiteral("From prev. [m]"), 0.18, Qt::AlignRight}};
    if (s.Events.Compared)
        eventColumns.push_back({QStringLiteral("Change"), 0.26});
    f.Table(eventColumns, events);
    if (!s.EndFound)
        f.Paragraph(ReportFont(30),
                    QStringLiteral("No end found: the line is terminated, or longer than the range."));

    f.Paragraph(ReportFont(36, true), QStringLiteral("Limits"));
    std::vector<Row> limits;
    for (const CriterionResult& c : s.Results)
        limits.push_back(
            {{Q(c.Title), Q(c.Value), Q(c.Limit), Q(std::string(OutcomeName(c.Outcome))), Q(c.Reason)},
             3,
             OutcomeColour(c.Outcome)});
    f.Table({{QStringLiteral("Criterion"), 0.27},
             {QStringLiteral("Value"), 0.2},
             {QStringLiteral("Limit"), 0.17},
             {QStringLiteral("Outcome"), 0.12},
             {QStringLiteral("Note"), 0.24}},
            limits);
    f.Paragraph(ReportFont(44, true),
                QStringLiteral("Chart %1: %2").arg(s.Number).arg(Q(std::string(VerdictName(s.ChartVerdict)))),
                VerdictColour(s.ChartVerdict));
}

// The whole document through one flow; returns its page count.
int Flow(ReportFlow& f, const TestReportContent& r)
{
    Title(f, r);
    OverallVerdict(f, r);
    if (r.Sections.size() > 1) {
        Summary(f, r);
        for (const ReportChartSection& s : r.Sections) {
            f.NewPage();
            Section(f, s);
        }
    } else if (!r.Sections.empty()) {
        Section(f, r.Sections.front());
    }
    f.Finish();
    return f.Page();
}

} // namespace

void SetReportPageLayout(QPagedPaintDevice& device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
}

bool PaintTestReport(QPagedPaintDevice& device, const TestReportContent& report, int* pages)
{
    ReportFlow measure(nullptr, &device, report, 0);
    const int count = Flow(measure, report);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double s = std::min(device.width() / kWidth, device.height() / kHeight);
    painter.scale(s, s);
    ReportFlow paint(&painter, &device, report, count);
    Flow(paint, report);
    painter.end();
    if (pages != nullptr)
        *pages = count;
    return true;
}

QByteArray TestReportPdf(const TestReportContent& report, const QString& creator)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(creator);
        pdf.setTitle(QStringLiteral("Cable test report"));
        pdf.setResolution(kPdfResolution);
        SetReportPageLayout(pdf);
        painted = PaintTestReport(pdf, report);
    }
    return painted ? bytes : QByteArray();
}

} // namespace lumidrax
