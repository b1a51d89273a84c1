#pragma once
// "Import Folder...": every chart file below a folder recorded in the
// archive by a thread of its own (with its own connection), while a progress
// dialog with Cancel shows how far it is. The window's event loop runs the
// whole time: charts keep arriving.

#include "ArchiveLocation.h"

#include <QObject>
#include <QString>

#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace lumidrax {

struct FolderImportResult {
    int Added = 0, Skipped = 0;
    std::vector<std::pair<std::string, std::string>> Failed; // path, message
    bool Cancelled = false;
};

class FolderImport : public QObject {
    Q_OBJECT
  public:
    // Runs the import and returns when it has ended (cancelled or not).
    static FolderImportResult Run(QWidget* parent, const ArchiveLocation& where, const std::string& folder);
};

// What the import did, for the message after it: counts, then each file
// that could not be read with why.
std::string ImportSummary(const FolderImportResult& result);

} // namespace lumidrax
