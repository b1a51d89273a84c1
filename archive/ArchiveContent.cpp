#include "ArchiveContent.h"

#include "ChartFile.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <variant>

namespace lumidrax {

namespace {

// Fast enough for an import of thousands of charts; the sample lines are so
// alike that a stronger level gains little.
constexpr int kPackLevel = 1;

// The fields a chart file may not carry back, under their own names.
using ExtraMember = std::variant<std::string TJednoMereni::*, int TJednoMereni::*, float TJednoMereni::*>;

struct ExtraField {
    const char* Key;
    ExtraMember Member;
};

const ExtraField kExtraFields[] = {
    {"VerzeVKR", &TJednoMereni::VerzeVKR},
    {"DatumCas", &TJednoMereni::DatumCas},
    {"SeriePrvni", &TJednoMereni::SeriePrvni},
    {"SeriePosledni", &TJednoMereni::SeriePosledni},
    {"SerialNumber", &TJednoMereni::SerialNumber},
    {"Index", &TJednoMereni::Index},
    {"DCVoltageStr", &TJednoMereni::DCVoltageStr},
    {"DCResistStr", &TJednoMereni::DCResistStr},
    {"DCResistanceSingle", &TJednoMereni::DCResistanceSingle},
    {"DCVoltageSingle", &TJednoMereni::DCVoltageSingle},
    {"Pozice0YSingle", &TJednoMereni::Pozice0YSingle},
    {"AutoFileName", &TJednoMereni::AutoFileName},
    {"DisplayName", &TJednoMereni::DisplayName},
    {"FileName", &TJednoMereni::FileName},
};

QJsonValue Stored(const std::string& text)
{
    return QString::fromStdString(text);
}

QJsonValue Stored(int value)
{
    return value;
}

QJsonValue Stored(float value)
{
    return static_cast<double>(value);
}

void Restore(const QJsonValue& stored, std::string& field)
{
    field = stored.toString().toStdString();
}

void Restore(const QJsonValue& stored, int& field)
{
    field = stored.toInt();
}

void Restore(const QJsonValue& stored, float& field)
{
    field = static_cast<float>(stored.toDouble());
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
    for (const ExtraField& f : kExtraFields)
        std::visit([&](auto member) { o[f.Key] = Stored(c.*member); }, f.Member);
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
    for (const ExtraField& f : kExtraFields)
        if (o.contains(f.Key))
            std::visit([&](auto member) { Restore(o[f.Key], c.*member); }, f.Member);
    return c;
}

} // namespace lumidrax
