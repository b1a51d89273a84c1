#pragma once
// A chart made ready to be written into the archive: everything worked out
// before the transaction (content, hash, entry fields, event summary), so
// that the transaction holds the lock briefly. Making one needs no
// connection and may run on any thread.

#include "ArchiveRecord.h"

#include <QByteArray>

#include <string>

namespace lumidrax {

struct PreparedChart {
    ArchiveEntry entry; // RecordedAt: when it was prepared
    std::string hash;
    QByteArray content;
    std::string extra;
};

PreparedChart PrepareChart(const ArchiveItem& item, const std::string& recordedAt);

} // namespace lumidrax
