#pragma once
// Feeds the archive writer: every chart that joins the collection (from a
// port, a file opened or dropped, a processing command) and every save.
// It follows the collection through the change notifier: on "charts added"
// each chart it has not met yet is recorded, as made by the running
// processing command (CommandScope), as opened from its file when it came
// saved with a file name, and as received otherwise.

#include "ArchiveRecord.h"
#include "TJednoMereni.h"

#include <QObject>

#include <functional>
#include <string>
#include <unordered_set>

namespace lumidrax {

class ChartNotifier;
class TMereni;

class ArchiveFeed : public QObject {
    Q_OBJECT
  public:
    using Sink = std::function<void(ArchiveItem item)>;

    ArchiveFeed(TMereni& charts, ChartNotifier& notifier, QObject* parent = nullptr);

    // Where the charts go (the writer); nothing is fed without one.
    void SetSink(Sink sink) { sink_ = std::move(sink); }
    // The device of the port charts come from (for the entries' origin).
    void SetPortDetail(std::function<std::string()> detail) { portDetail_ = std::move(detail); }
    // The tags new entries get: those of the last entry edited or recorded.
    void SetTags(const ArchiveTags& tags) { tags_ = tags; }
    const ArchiveTags& Tags() const { return tags_; }

    // A chart that is recorded already (opened from the archive): not fed.
    void Seen(ChartId id) { seen_.insert(id); }
    // A chart was written to its file.
    void Saved(const TJednoMereni& chart);
    // Records every chart not met yet.
    void ChartsAdded();

    // While one lives, added charts are the named command's.
    class CommandScope {
      public:
        CommandScope(ArchiveFeed& feed, std::string command) : feed_(feed), previous_(feed.command_)
        {
            feed_.command_ = std::move(command);
        }
        ~CommandScope() { feed_.command_ = previous_; }
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;

      private:
        ArchiveFeed& feed_;
        std::string previous_;
    };

  private:
    void Feed(const TJednoMereni& chart, ArchiveOrigin origin, const std::string& detail);

    TMereni& charts_;
    Sink sink_;
    std::function<std::string()> portDetail_;
    ArchiveTags tags_;
    std::unordered_set<ChartId> seen_;
    std::string command_;
};

} // namespace lumidrax
