#include "ArchiveContent.h"

#include "ChartFile.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumidrax {

namespace {

// Fast enough for an import of thousands of charts; the sample lines are so
// alike that a stronger level gains little.
constexpr int kPackLevel = 1;

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

std::string ArchiveContentText(const TJednoMereni& chart)
{
    return ChartFileText(chart);
}

std::string ContentHash(std::string_view content)
{
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(content.data(), static_cast<qsizetype>(content.size())), QCryptographicHash::Sha256);
    return digest.toHex().toStdString();
}

QByteArray PackContent(std::string_view content)
{
    return qCompress(reinterpret_cast<const uchar*>(content.data()), static_cast<qsizetype>(content.size()),
                     kPackLevel);
}

std::optional<std::string> UnpackContent(const QByteArray& packed)
{
    if (packed.size() < 4)
        return std::nullopt;
    // qUncompress says nothing but an empty result on bad data; the length
    // it wrote first tells an empty content from a broken one.
    const QByteArray text = qUncompress(packed);
    const auto* size = reinterpret_cast<const uchar*>(packed.constData());
    const quint32 expected =
        (quint32(size[0]) << 24) | (quint32(size[1]) << 16) | (quint32(size[2]) << 8) | quint32(size[3]);
    if (quint32(text.size()) != expected)
        return std::nullopt;
    return text.toStdString();
}

std::string ChartExtraText(const TJednoMereni& c)
{
    QJsonObject o;
    o["VerzeVKR"] = Q(c.VerzeVKR);
    o["DatumCas"] = Q(c.DatumCas);
    o["SeriePrvni"] = c.SeriePrvni;
    o["SeriePosledni"] = c.SeriePosledni;
    o["SerialNumber"] = c.SerialNumber;
    o["Index"] = c.Index;
    o["DCVoltageStr"] = Q(c.DCVoltageStr);
    o["DCResistStr"] = Q(c.DCResistStr);
    o["DCResistanceSingle"] = static_cast<double>(c.DCResistanceSingle);
    o["DCVoltageSingle"] = static_cast<double>(c.DCVoltageSingle);
    o["Pozice0YSingle"] = static_cast<double>(c.Pozice0YSingle);
    o["AutoFileName"] = Q(c.AutoFileName);
    o["DisplayName"] = Q(c.DisplayName);
    o["FileName"] = Q(c.FileName);
    return QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
}

std::optional<TJednoMereni> DecodeArchiveChart(std::string_view content, std::string_view extra,
                                               std::string& error)
{
    TJednoMereni c;
    try {
        ReadChartText(c, content, "archive content");
    } catch (const ChartFileError& e) {
        error = e.what();
        return std::nullopt;
    }
    QJsonParseError parse{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(extra.data(), static_cast<qsizetype>(extra.size())), &parse);
    if (!extra.empty() && !doc.isObject()) {
        error = "its fields cannot be read (" + parse.errorString().toStdString() + ")";
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    auto text = [&](const char* key, std::string& field) {
        if (o.contains(key))
            field = o[key].toString().toStdString();
    };
    auto integer = [&](const char* key, int& field) {
        if (o.contains(key))
            field = o[key].toInt();
    };
    auto single = [&](const char* key, float& field) {
        if (o.contains(key))
            field = static_cast<float>(o[key].toDouble());
    };
    text("VerzeVKR", c.VerzeVKR);
    text("DatumCas", c.DatumCas);
    integer("SeriePrvni", c.SeriePrvni);
    integer("SeriePosledni", c.SeriePosledni);
    integer("SerialNumber", c.SerialNumber);
    integer("Index", c.Index);
    text("DCVoltageStr", c.DCVoltageStr);
    text("DCResistStr", c.DCResistStr);
    single("DCResistanceSingle", c.DCResistanceSingle);
    single("DCVoltageSingle", c.DCVoltageSingle);
    single("Pozice0YSingle", c.Pozice0YSingle);
    text("AutoFileName", c.AutoFileName);
    text("DisplayName", c.DisplayName);
    text("FileName", c.FileName);
    return c;
}

} // namespace lumidrax
