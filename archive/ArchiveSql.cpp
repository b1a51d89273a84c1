#include "ArchiveSql.h"

#include "ArchiveFields.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>

namespace lumidrax {

namespace {

// Characters a word needs to be looked up in the word index.
constexpr qsizetype kIndexedWord = 3;

QVariant V(const std::string& text)
{
    return QString::fromStdString(text);
}

QVariant V(long double value)
{
    return static_cast<double>(value);
}

std::string S(const QSqlQuery& q, int k)
{
    return q.value(k).toString().toStdString();
}

// Turns the wildcards of LIKE into literal characters.
QString LikeLiteral(const QString& word)
{
    QString out;
    for (const QChar ch : word) {
        if (ch == '%' || ch == '_' || ch == '\\')
            out += '\\';
        out += ch;
    }
    return out;
}

QString ColumnOf(ArchiveColumn column)
{
    switch (column) {
    case ArchiveColumn::MeasuredAt:
        return "c.measured_sort";
    case ArchiveColumn::Description:
        return "c.description";
    case ArchiveColumn::FileName:
        return "c.file_name";
    case ArchiveColumn::Cable:
        return "c.cable";
    case ArchiveColumn::Site:
        return "c.site";
    case ArchiveColumn::Job:
        return "c.job";
    case ArchiveColumn::Operator:
        return "c.operator_name";
    case ArchiveColumn::Model:
        return "c.model";
    case ArchiveColumn::SerialNumber:
        return "c.serial_number";
    case ArchiveColumn::EndDistance:
        return "c.end_distance";
    case ArchiveColumn::Verdict:
        return "c.verdict";
    case ArchiveColumn::RecordedAt:
        return "c.recorded_at";
    }
    return "c.measured_sort";
}

} // namespace

QString EntryColumns()
{
    return "c.id, c.hash, c.model, c.serial_number, c.measured_at, c.measured_sort, c.description,"
           " c.file_path, c.file_name, c.series_first, c.series_last, c.interval_ps, c.velocity,"
           " c.impedance, c.noise, c.filter, c.filter_post, c.sample_count, c.range_metres,"
           " c.dc_voltage_text, c.dc_resistance_text, c.dc_voltage, c.dc_resistance, c.event_count,"
           " c.end_found, c.end_distance, c.end_kind, c.cable, c.site, c.job, c.operator_name, c.origin,"
           " c.origin_detail, c.recorded_at, c.verdict, b.chart_id";
}

QString EntryFrom()
{
    return " FROM charts c LEFT JOIN baselines b ON b.chart_id = c.id AND b.cable = c.cable";
}

ArchiveEntry EntryFromRow(const QSqlQuery& q)
{
    ArchiveEntry e;
    e.Id = q.value(0).toLongLong();
    e.Hash = S(q, 1);
    e.Model = S(q, 2);
    e.SerialNumber = q.value(3).toInt();
    e.MeasuredAt = S(q, 4);
    e.MeasuredSort = S(q, 5);
    e.Description = S(q, 6);
    e.FilePath = S(q, 7);
    e.FileName = S(q, 8);
    e.SeriesFirst = q.value(9).toInt();
    e.SeriesLast = q.value(10).toInt();
    e.Interval = q.value(11).toInt();
    e.Velocity = q.value(12).toDouble();
    e.Impedance = q.value(13).toInt();
    e.Noise = q.value(14).toInt();
    e.Filter = q.value(15).toInt();
    e.FilterPost = q.value(16).toInt();
    e.SampleCount = q.value(17).toInt();
    e.RangeMetres = q.value(18).toDouble();
    e.DCVoltageText = S(q, 19);
    e.DCResistanceText = S(q, 20);
    e.DCVoltage = q.value(21).toInt();
    e.DCResistance = q.value(22).toInt();
    e.EventCount = q.value(23).toInt();
    e.EndFound = q.value(24).toInt() != 0;
    e.EndDistance = q.value(25).toDouble();
    e.EndKind = S(q, 26);
    e.Tags = {S(q, 27), S(q, 28), S(q, 29), S(q, 30)};
    e.Origin = OriginFromName(S(q, 31)).value_or(ArchiveOrigin::File);
    e.OriginDetail = S(q, 32);
    e.RecordedAt = S(q, 33);
    e.Verdict = S(q, 34);
    e.IsBaseline = !q.value(35).isNull();
    return e;
}

QString InsertChartSql()
{
    return "INSERT INTO charts (hash, model, serial_number, measured_at, measured_sort, description,"
           " file_path, file_name, series_first, series_last, interval_ps, velocity, impedance, noise,"
           " filter, filter_post, sample_count, range_metres, dc_voltage_text, dc_resistance_text,"
           " dc_voltage, dc_resistance, event_count, end_found, end_distance, end_kind, cable, site, job,"
           " operator_name, origin, origin_detail, recorded_at, search_text) VALUES (?, ?, ?, ?, ?, ?,"
           " ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
           " ON CONFLICT (hash) DO NOTHING RETURNING id";
}

std::vector<QVariant> InsertChartValues(const std::string& hash, const ArchiveEntry& e)
{
    return {V(hash),
            V(e.Model),
            e.SerialNumber,
            V(e.MeasuredAt),
            V(e.MeasuredSort),
            V(e.Description),
            V(e.FilePath),
            V(e.FileName),
            e.SeriesFirst,
            e.SeriesLast,
            e.Interval,
            V(e.Velocity),
            e.Impedance,
            e.Noise,
            e.Filter,
            e.FilterPost,
            e.SampleCount,
            V(e.RangeMetres),
            V(e.DCVoltageText),
            V(e.DCResistanceText),
            e.DCVoltage,
            e.DCResistance,
            e.EventCount,
            e.EndFound ? 1 : 0,
            V(e.EndDistance),
            V(e.EndKind),
            V(e.Tags.Cable),
            V(e.Tags.Site),
            V(e.Tags.Job),
            V(e.Tags.Operator),
            V(std::string(OriginName(e.Origin))),
            V(e.OriginDetail),
            V(e.RecordedAt),
            V(SearchTextOf(e))};
}

namespace {

QStringList SearchWords(const ArchiveQuery& q)
{
    static thread_local const QRegularExpression blanks(R"(\s+)");
    return QString::fromStdString(LowerText(q.Text)).split(blanks, Qt::SkipEmptyParts);
}

// The MATCH expression of the words the word index can find: FTS5's
// trigrams find substrings of three characters and more, each word a
// quoted phrase.
QString IndexedPhrases(const QStringList& words, bool& all)
{
    QStringList phrases;
    all = true;
    for (const QString& word : words) {
        if (word.toUcs4().size() >= kIndexedWord)
            phrases << "\"" + QString(word).replace("\"", "\"\"") + "\"";
        else
            all = false;
    }
    return phrases.join(" AND ");
}

} // namespace

std::optional<QString> CountFromWordIndex(const ArchiveQuery& q, ArchiveEngine engine)
{
    bool all = false;
    const QStringList words = SearchWords(q);
    const QString match = IndexedPhrases(words, all);
    if (engine != ArchiveEngine::SQLite || words.isEmpty() || !all || !q.From.empty() || !q.To.empty() ||
        q.SerialNumber != 0 || !q.Model.empty() || !q.Cable.empty())
        return std::nullopt;
    return match;
}

SqlFilter SearchFilter(const ArchiveQuery& q, ArchiveEngine engine)
{
    QStringList terms;
    SqlFilter f;
    const QStringList words = SearchWords(q);
    // The LIKE below keeps the result exact (and finds the shorter words).
    bool all = false;
    const QString match = IndexedPhrases(words, all);
    if (engine == ArchiveEngine::SQLite && !match.isEmpty()) {
        terms << "c.id IN (SELECT rowid FROM chart_words WHERE chart_words MATCH ?)";
        f.Values.push_back(match);
    }
    for (const QString& word : words) {
        terms << "c.search_text LIKE ? ESCAPE '\\'";
        f.Values.push_back("%" + LikeLiteral(word) + "%");
    }
    if (!q.From.empty() || !q.To.empty())
        terms << "c.measured_sort <> ''";
    if (!q.From.empty()) {
        terms << "c.measured_sort >= ?";
        f.Values.push_back(V(q.From));
    }
    if (!q.To.empty()) {
        // Inclusive: every time of the last day sorts before "~".
        terms << "c.measured_sort <= ?";
        f.Values.push_back(V(q.To + "~"));
    }
    if (q.SerialNumber != 0) {
        terms << "c.serial_number = ?";
        f.Values.push_back(q.SerialNumber);
    }
    if (!q.Model.empty()) {
        terms << "c.model = ?";
        f.Values.push_back(V(q.Model));
    }
    if (!q.Cable.empty()) {
        terms << "c.cable = ?";
        f.Values.push_back(V(q.Cable));
    }
    if (!terms.isEmpty())
        f.Where = " WHERE " + terms.join(" AND ");
    return f;
}

QString SearchOrder(const ArchiveQuery& q)
{
    const QString direction = q.Descending ? " DESC" : " ASC";
    return " ORDER BY " + ColumnOf(q.SortBy) + direction + ", c.id" + direction;
}

QString PageClause(int offset, int limit, ArchiveEngine engine)
{
    offset = std::max(offset, 0);
    if (limit > 0)
        return QString(" LIMIT %1 OFFSET %2").arg(limit).arg(offset);
    if (offset == 0)
        return {};
    return engine == ArchiveEngine::SQLite ? QString(" LIMIT -1 OFFSET %1").arg(offset)
                                           : QString(" OFFSET %1").arg(offset);
}

} // namespace lumidrax
