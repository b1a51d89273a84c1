#pragma once
// A search of the chart archive: filters, order and page.

#include <string>

namespace lumidrax {

enum class ArchiveColumn {
    MeasuredAt,
    Description,
    FileName,
    Cable,
    Site,
    Job,
    Operator,
    Model,
    SerialNumber,
    EndDistance,
    Verdict,
    RecordedAt
};

struct ArchiveQuery {
    std::string
        Text; // words, each must occur (case-insensitive) in description, file name, cable, site or job
    std::string From, To; // ISO dates "YYYY-MM-DD", inclusive, empty = open
    int SerialNumber = 0; // 0 = any
    std::string Model;    // empty = any
    std::string Cable;    // exact cable, empty = any
    ArchiveColumn SortBy = ArchiveColumn::MeasuredAt;
    bool Descending = true;
    int Offset = 0, Limit = 200; // a page; Limit 0 = no limit (the CLI)
};

} // namespace lumidrax
