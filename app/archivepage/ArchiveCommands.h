#pragma once
// The Archive page's commands: the search, Open, the tags editor, Set as
// Baseline, Compare with Baseline, History and Import Folder. The page's
// connection to the archive is made here (on this thread: the page fetches
// a page of rows at a time), apart from the writer's. A PostgreSQL server
// is first asked on a worker thread whether it answers (ArchiveProbe):
// meanwhile the page says it is connecting and the commands do nothing.
//
// Every command that shows a dialog copies what it needs first and looks
// charts up again afterwards: charts keep arriving while a dialog is open.

#include "ArchiveLocation.h"
#include "ArchiveRecord.h"
#include "PageParts.h"
#include "TJednoMereni.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QWidget;

namespace lumidrax {

class ArchiveFeed;
class ArchiveMenus;
class ArchivePage;
class ArchiveProbe;
class ChartArchive;

struct ArchiveCommandsParts : PageParts<ArchivePage, ArchiveMenus> {
    ArchiveFeed* Feed = nullptr;
    // Runs a command as the window runs its own (counted as running).
    std::function<void(const std::function<void()>&)> Run;
    std::function<void()> ShowChartPage;
    // The Event Table shown on the chart page.
    std::function<void()> ShowEventTable;
    // The folder chooser (start folder); nothing when cancelled.
    std::function<std::optional<QString>(QWidget* parent, const QString& start)> ChooseFolder;
};

class ArchiveCommands : public QObject {
    Q_OBJECT
  public:
    explicit ArchiveCommands(ArchiveCommandsParts parts, QObject* parent = nullptr);
    ~ArchiveCommands() override;

    // Where the archive is (the settings); the page connects again.
    void SetLocation(const ArchiveLocation& where);
    // The page was shown: it connects when it has not, and shows the
    // entries recorded meanwhile.
    void PageShown();
    // The writer recorded new entries or stored verdicts.
    void EntriesRecorded();
    // The page's connection, nullptr while the archive is off or cannot be
    // opened.
    ChartArchive* Archive();

    void Search();
    void Open();
    void EditTags();
    void SetBaseline();
    void Compare();
    void History();
    void ImportFolder();

  private:
    void Connect();
    // The outcome of the probe: the page connects when `where` answered and
    // is still the archive's location.
    void Checked(const ArchiveLocation& where, bool answered, const QString& message);
    // Why the archive cannot be shown; tried again when the page is shown
    // again.
    void ShowUnavailable(const QString& message);
    void Reload();
    std::vector<ArchiveEntry> Chosen() const;
    std::optional<ArchiveEntry> ChosenOne();
    // The one chosen entry when it has a cable; nothing (with the message
    // that it has none shown) when it has not.
    std::optional<ArchiveEntry> ChosenWithCable();
    // The chart of an entry on the chart page: the open one, or added from
    // the archive. Its number, 0 when it could not be (with the message
    // shown).
    int Place(ArchiveId id, bool& added);
    void Tell(const std::string& text);

    ArchiveCommandsParts parts_;
    // The page, or nothing once it has gone (it may go first).
    QPointer<ArchivePage> page_;
    ArchiveLocation where_;
    std::unique_ptr<ChartArchive> archive_;
    // Its destructor waits for a check still running.
    std::unique_ptr<ArchiveProbe> probe_;
    bool tried_ = false;
    // The server of where_ answered the probe: the page's connection is
    // made next.
    bool answered_ = false;
    bool stale_ = false;
    // The charts the page put on the chart page, and their entries.
    std::map<ChartId, ArchiveId> opened_;
    QString lastFolder_;
};

} // namespace lumidrax
