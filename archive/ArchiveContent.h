#pragma once
// The content the archive keeps of a chart, from which it gives the chart
// back: the chart file text (description, settings, samples) as the program
// writes it, packed, with its SHA-256 as the identity of the chart; beside it
// the few fields a chart file of an older model cannot carry (model, serial
// number, date, series, DC texts, names).

#include "TJednoMereni.h"

#include <QByteArray>

#include <optional>
#include <string>
#include <string_view>

namespace lumidrax {

// The canonical content: ChartFileText of the chart. A chart saved and
// opened again has the same content, and so the same hash.
std::string ArchiveContentText(const TJednoMereni& chart);

// Lower-case hex SHA-256 of a content.
std::string ContentHash(std::string_view content);

// The content as stored (zlib) and back; nothing when the bytes are no
// packed content.
QByteArray PackContent(std::string_view content);
std::optional<std::string> UnpackContent(const QByteArray& packed);

// The fields the chart file may not carry back, as a small JSON object.
std::string ChartExtraText(const TJednoMereni& chart);

// The chart of a content and its extra fields. Nothing (and `error` says
// why) when the content cannot be read as a chart.
std::optional<TJednoMereni> DecodeArchiveChart(std::string_view content, std::string_view extra,
                                               std::string& error);

} // namespace lumidrax
