#pragma once
// Chart files the window is given from outside its own commands: named on
// the command line, dropped on the window, handed over by a second start of
// the program, or chosen in the Open dialog. Names that come in quick
// succession (a drop of many files, a hand-over per file) are gathered and
// opened as one batch once they stop coming and no command or dialog is
// running. The mouse release that ends a drop does not set the reference.

#include "WindowServices.h"

#include <QObject>
#include <QTimer>

#include <string>
#include <vector>

namespace lumidrax {

class ChartFileCommands;
struct Settings;

class IncomingFiles : public QObject {
    Q_OBJECT
  public:
    IncomingFiles(const WindowServices& window, ChartFileCommands& files, Settings& settings,
                  QObject* parent);

    // The program's arguments: one name opens at once (an error as a
    // message), several as one batch.
    void OpenCommandLine(const std::vector<std::string>& args);
    // A name for the next batch (a drop, the Open dialog).
    void Add(std::string name) { pending_.push_back(std::move(name)); }
    // A name handed over by another instance: opened with those that follow
    // it closely.
    void Receive(const std::string& name);
    // Opens every pending name as one batch.
    void OpenPending();
    const std::vector<std::string>& Pending() const { return pending_; }
    // True once after files were opened, until the release that ended them.
    bool TakeClickSuppression();
    void Stop();

  signals:
    // Charts were opened from outside (loaded may be 0 for a batch); the
    // window shows the chart page.
    void opened(int loaded, bool batch);

  private:
    void SuppressClickForAWhile();
    void Settle();

    WindowServices window_;
    ChartFileCommands& files_;
    Settings& settings_;
    std::vector<std::string> pending_;
    QTimer arrivals_;
    QTimer suppression_;
    bool arriving_ = false;
    bool suppressClick_ = false;
};

} // namespace lumidrax
