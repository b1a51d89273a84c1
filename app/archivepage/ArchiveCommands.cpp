#include "ArchiveCommands.h"

#include "ArchiveContent.h"
#include "ArchiveFeed.h"
#include "ArchiveMenus.h"
#include "ArchivePage.h"
#include "ArchiveProbe.h"
#include "ArchiveTableModel.h"
#include "ChartArchive.h"
#include "ChartFile.h"
#include "ChartNotifier.h"
#include "CollectionRules.h"
#include "FolderImport.h"
#include "HistoryDialog.h"
#include "IDialogs.h"
#include "Limits.h"
#include "MeasurementComparability.h"
#include "MessageCatalogue.h"
#include "TMereni.h"
#include "TagsDialog.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <QItemSelectionModel>

#include <algorithm>
#include <set>

namespace lumidrax {

namespace {

constexpr const char* kCaption = "Archive";
// Rows searched for the entries chosen before a reload.
constexpr int kKeptChoiceRows = 2 * ArchiveTableModel::kPageRows;

std::string NoCableText()
{
    return "The chart has no cable yet: give it one with \"Edit Cable/Site/Job/Operator...\" first.";
}

} // namespace

ArchiveCommands::ArchiveCommands(ArchiveCommandsParts parts, QObject* parent)
    : QObject(parent), parts_(std::move(parts)), page_(parts_.Page), probe_(std::make_unique<ArchiveProbe>())
{
    connect(probe_.get(), &ArchiveProbe::checked, this, &ArchiveCommands::Checked);
    ArchivePage& page = *parts_.Page;
    ArchiveMenus& m = *parts_.Menus;
    const auto run = [this](void (ArchiveCommands::*command)()) {
        return [this, command] {
            if (parts_.Run)
                parts_.Run([this, command] { (this->*command)(); });
            else
                (this->*command)();
        };
    };
    connect(&page, &ArchivePage::filterChanged, this, &ArchiveCommands::Search);
    connect(&page, &ArchivePage::openRequested, this, run(&ArchiveCommands::Open));
    const std::pair<QPushButton*, QAction*> pairs[] = {
        {page.b_open, m.mi_arch_open},         {page.b_tags, m.mi_arch_tags},
        {page.b_baseline, m.mi_arch_baseline}, {page.b_compare, m.mi_arch_compare},
        {page.b_history, m.mi_arch_history},   {page.b_import, m.mi_arch_import}};
    void (ArchiveCommands::*commands[])() = {&ArchiveCommands::Open,        &ArchiveCommands::EditTags,
                                             &ArchiveCommands::SetBaseline, &ArchiveCommands::Compare,
                                             &ArchiveCommands::History,     &ArchiveCommands::ImportFolder};
    for (std::size_t k = 0; k < std::size(pairs); ++k) {
        auto [button, action] = pairs[k];
        connect(button, &QPushButton::clicked, this, run(commands[k]));
        connect(action, &QAction::triggered, this, [button, go = run(commands[k])] {
            if (button->isEnabled())
                go();
        });
    }
    connect(m.mi_arch_find, &QAction::triggered, this, [this] {
        parts_.Page->e_search->setFocus();
        parts_.Page->e_search->selectAll();
    });
    // The menu items follow the buttons.
    connect(&page, &ArchivePage::selectionChanged, this, [this] {
        const std::pair<QPushButton*, QAction*> items[] = {
            {parts_.Page->b_open, parts_.Menus->mi_arch_open},
            {parts_.Page->b_tags, parts_.Menus->mi_arch_tags},
            {parts_.Page->b_baseline, parts_.Menus->mi_arch_baseline},
            {parts_.Page->b_compare, parts_.Menus->mi_arch_compare},
            {parts_.Page->b_history, parts_.Menus->mi_arch_history},
            {parts_.Page->b_import, parts_.Menus->mi_arch_import}};
        for (auto [button, action] : items)
            action->setEnabled(button->isEnabled());
    });
    connect(page.Model(), &ArchiveTableModel::counted, this, [this](int n) {
        const std::string& problem = parts_.Page->Model()->Problem();
        parts_.Page->ShowState(problem.empty() ? tr("%1 %2 found in the %3.")
                                                     .arg(n)
                                                     .arg(n == 1 ? tr("entry") : tr("entries"))
                                                     .arg(QString::fromStdString(DescribeLocation(where_)))
                                               : QString::fromStdString(problem));
        emit parts_.Page->selectionChanged();
    });
}

// The page may go first (the window's children go in the order they were
// made): nothing of it is touched here. probe_ waits for a running check.
ArchiveCommands::~ArchiveCommands() = default;

void ArchiveCommands::SetLocation(const ArchiveLocation& where)
{
    if (tried_ && where == where_)
        return;
    where_ = where;
    parts_.Page->Model()->SetArchive(nullptr);
    archive_.reset();
    tried_ = false;
    answered_ = false;
    stale_ = true;
    // Connected when the page is shown or a command needs it.
    if (parts_.Page->isVisible())
        Connect();
}

void ArchiveCommands::Connect()
{
    if (tried_)
        return;
    if (!where_.Enabled) {
        tried_ = true;
        parts_.Page->UpdateButtons(false);
        parts_.Page->ShowState(tr("The archive is off: turn it on in the Settings (Archive)."));
        return;
    }
    if (where_.Engine == ArchiveEngine::PostgreSQL && !answered_) {
        // Connected when the server answered (Checked); a running check is not doubled.
        parts_.Page->UpdateButtons(false);
        parts_.Page->ShowState(
            tr("Connecting to the archive (%1) ...").arg(QString::fromStdString(DescribeLocation(where_))));
        probe_->Start(where_);
        return;
    }
    tried_ = true;
    answered_ = false;
    archive_ = std::make_unique<ChartArchive>(where_);
    if (!archive_->isOpen()) {
        ShowUnavailable(QString::fromStdString(archive_->status().Message));
        archive_.reset();
        return;
    }
    // New entries get the tags of the last one recorded.
    ArchiveQuery newest;
    newest.SortBy = ArchiveColumn::RecordedAt;
    newest.Limit = 1;
    if (const auto last = archive_->Search(newest); last && !last->empty() && parts_.Feed)
        parts_.Feed->SetTags(last->front().Tags);
    parts_.Page->UpdateButtons(true);
    parts_.Page->Model()->SetQuery(parts_.Page->Filter());
    parts_.Page->Model()->SetArchive(archive_.get());
}

void ArchiveCommands::Checked(const ArchiveLocation& where, bool answered, const QString& message)
{
    if (!page_ || tried_)
        return;
    if (where != where_) {
        // The location changed meanwhile: the new one is checked now.
        if (page_->isVisible())
            Connect();
        return;
    }
    if (!answered) {
        ShowUnavailable(message);
        return;
    }
    answered_ = true;
    Connect();
}

void ArchiveCommands::ShowUnavailable(const QString& message)
{
    parts_.Page->UpdateButtons(false);
    parts_.Page->ShowState(tr("The archive cannot be shown: %1 The charts are kept as files; they are "
                              "recorded when the archive is back.")
                               .arg(message));
    tried_ = false; // tried again when the page is shown again
}

ChartArchive* ArchiveCommands::Archive()
{
    Connect();
    return archive_.get();
}

void ArchiveCommands::PageShown()
{
    const bool had = archive_ != nullptr;
    Connect();
    if (had && stale_)
        Reload();
    stale_ = false;
}

void ArchiveCommands::EntriesRecorded()
{
    if (parts_.Page->isVisible() && archive_)
        Reload();
    else
        stale_ = true;
}

void ArchiveCommands::Reload()
{
    // The chosen entries stay chosen where they are among the first rows
    // (new entries arrive while the user chooses).
    std::set<ArchiveId> chosen;
    for (const ArchiveEntry& e : Chosen())
        chosen.insert(e.Id);
    ArchiveTableModel& model = *parts_.Page->Model();
    model.Reload();
    if (chosen.empty())
        return;
    QItemSelection rows;
    const int scanned = std::min(model.rowCount(), kKeptChoiceRows);
    for (int row = 0; row < scanned && rows.size() < static_cast<qsizetype>(chosen.size()); ++row)
        if (const std::optional<ArchiveEntry> e = model.EntryAt(row); e && chosen.count(e->Id))
            rows.select(model.index(row, 0), model.index(row, ArchiveTableModel::kColumns - 1));
    parts_.Page->Table()->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
}

void ArchiveCommands::Search()
{
    if (Archive())
        parts_.Page->Model()->SetQuery(parts_.Page->Filter());
}

std::vector<ArchiveEntry> ArchiveCommands::Chosen() const
{
    std::vector<ArchiveEntry> out;
    for (int row : parts_.Page->SelectedRows())
        if (std::optional<ArchiveEntry> e = parts_.Page->Model()->EntryAt(row))
            out.push_back(std::move(*e));
    return out;
}

std::optional<ArchiveEntry> ArchiveCommands::ChosenOne()
{
    if (!Archive())
        return std::nullopt;
    std::vector<ArchiveEntry> chosen = Chosen();
    if (chosen.size() != 1)
        return std::nullopt;
    return chosen.front();
}

std::optional<ArchiveEntry> ArchiveCommands::ChosenWithCable()
{
    std::optional<ArchiveEntry> e = ChosenOne();
    if (e && e->Tags.Cable.empty()) {
        Tell(NoCableText());
        return std::nullopt;
    }
    return e;
}

void ArchiveCommands::Tell(const std::string& text)
{
    parts_.Services.Dialogs->ShowMessageBox(kCaption, text);
}

int ArchiveCommands::Place(ArchiveId id, bool& added)
{
    added = false;
    TMereni& charts = *parts_.Services.Charts;
    for (const auto& [chart, entry] : opened_)
        if (entry == id)
            if (const int n = charts.NumberOf(chart); n > 0)
                return n;
    std::optional<TJednoMereni> chart = archive_->Chart(id);
    if (!chart) {
        parts_.Services.Dialogs->ShowErrorMessage(archive_->status().Message);
        return 0;
    }
    // The entry's file, or a chart without a file (received and not yet
    // saved) that holds the entry's content, is already on the page.
    const std::string hash =
        chart->FileName.empty() ? ContentHash(ArchiveContentText(*chart)) : std::string();
    for (int i = 1; i <= charts.Count; ++i) {
        const TJednoMereni& open = charts.Rec(i);
        if (hash.empty() ? open.FileName == chart->FileName
                         : open.FileName.empty() && ContentHash(ArchiveContentText(open)) == hash) {
            opened_[open.Id] = id;
            return i;
        }
    }
    if (charts.Count >= kMaxCharts)
        return 0;
    chart->IsNew = true;
    if (chart->DisplayName.empty())
        chart->DisplayName = !chart->FileName.empty()       ? chart->FileName
                             : !chart->AutoFileName.empty() ? chart->AutoFileName
                                                            : "archive " + std::to_string(id) + ".ndt";
    try {
        const int n = charts.AddChart(std::move(*chart));
        parts_.Feed->Seen(charts.Rec(n).Id);
        opened_[charts.Rec(n).Id] = id;
        added = true;
        return n;
    } catch (const ChartFileError& e) {
        parts_.Services.Dialogs->ShowErrorMessage(e.what());
        return 0;
    }
}

void ArchiveCommands::Open()
{
    if (!Archive())
        return;
    const std::vector<ArchiveEntry> chosen = Chosen();
    int loaded = 0;
    bool duplicateShown = false;
    for (const ArchiveEntry& e : chosen) {
        if (parts_.Services.Charts->Count >= kMaxCharts)
            break; // as for files: the rest stays closed
        const int before = parts_.Services.Charts->Count;
        bool added = false;
        const int n = Place(e.Id, added);
        if (added) {
            ++loaded;
        } else if (n > 0 && !duplicateShown && before == parts_.Services.Charts->Count) {
            duplicateShown = true;
            if (chosen.size() == 1)
                parts_.Services.Dialogs->ShowError(kErrAlreadyLoaded,
                                                   e.FilePath.empty() ? e.FileName : e.FilePath);
            else
                parts_.Services.Dialogs->ShowError(kErrSomeAlreadyLoaded, "");
        }
    }
    if (loaded == 0)
        return;
    emit parts_.Services.Notifier->chartsAdded();
    if (parts_.ShowChartPage)
        parts_.ShowChartPage();
}

void ArchiveCommands::EditTags()
{
    if (!Archive())
        return;
    const std::vector<ArchiveEntry> chosen = Chosen();
    if (chosen.empty())
        return;
    const ArchiveTags shown = chosen.size() == 1 ? chosen.front().Tags : ArchiveTags{};
    TagsDialog dialog(shown, static_cast<int>(chosen.size()), parts_.Services.Window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ArchiveTags tags = dialog.Tags();
    std::vector<ArchiveId> ids;
    for (const ArchiveEntry& e : chosen)
        ids.push_back(e.Id);
    if (!Archive() || !archive_->SetTags(ids, tags)) {
        parts_.Services.Dialogs->ShowErrorMessage(archive_ ? archive_->status().Message
                                                           : "The archive is not open.");
        return;
    }
    // New charts get these tags, the fields left empty as the last entry had them.
    ArchiveTags remembered = chosen.back().Tags;
    for (auto [to, from] :
         {std::pair{&remembered.Cable, &tags.Cable}, std::pair{&remembered.Site, &tags.Site},
          std::pair{&remembered.Job, &tags.Job}, std::pair{&remembered.Operator, &tags.Operator}})
        if (!from->empty())
            *to = *from;
    parts_.Feed->SetTags(remembered);
    Reload();
}

void ArchiveCommands::SetBaseline()
{
    const std::optional<ArchiveEntry> e = ChosenWithCable();
    if (!e)
        return;
    if (!archive_->SetBaseline(e->Id)) {
        parts_.Services.Dialogs->ShowErrorMessage(archive_->status().Message);
        return;
    }
    Reload();
    parts_.Page->ShowState(
        tr("%1 is now the baseline of cable %2.")
            .arg(QString::fromStdString(e->Description.empty() ? e->FileName : e->Description),
                 QString::fromStdString(e->Tags.Cable)));
}

void ArchiveCommands::Compare()
{
    const std::optional<ArchiveEntry> e = ChosenWithCable();
    if (!e)
        return;
    const std::string& cable = e->Tags.Cable;
    const std::optional<ArchiveId> base = archive_->Baseline(cable);
    if (!base) {
        Tell("Cable " + cable + " has no baseline yet: choose one of its charts and \"Set as Baseline\".");
        return;
    }
    if (*base == e->Id) {
        Tell("This chart is the baseline of cable " + cable + " itself.");
        return;
    }
    const std::optional<TJednoMereni> chart = archive_->Chart(e->Id);
    const std::optional<TJednoMereni> baseline = archive_->Chart(*base);
    if (!chart || !baseline) {
        parts_.Services.Dialogs->ShowErrorMessage(archive_->status().Message);
        return;
    }
    const std::vector<SettingDifference> differences = CompareMeasurementSettings(*chart, *baseline);
    if (!differences.empty() && parts_.Services.Dialogs->AskYesNo(
                                    kCaption,
                                    "The chart and the baseline of cable " + cable +
                                        " were not measured alike:\n" + DifferenceLines(differences) +
                                        "\nA difference can pass for a moved fault. Compare them anyway?",
                                    false) != kAnswerYes)
        return;
    if (!Archive())
        return; // the settings changed while the question was open
    TMereni& charts = *parts_.Services.Charts;
    bool addedChart = false, addedBase = false;
    const int first = Place(e->Id, addedChart);
    const ChartId chosenId = first > 0 ? charts.Rec(first).Id : 0;
    const int second = first > 0 ? Place(*base, addedBase) : 0;
    // Placing the baseline may have shown a message: look both up again.
    if (second == 0 || charts.NumberOf(chosenId) == 0) {
        if (addedChart || addedBase)
            emit parts_.Services.Notifier->chartsAdded();
        return;
    }
    const ChartId baseId = charts.Rec(second).Id;
    // The list takes the new charts in first (it selects them and moves the
    // reference to the last one), the chart page is shown; then the two are
    // drawn, the baseline is the reference and the chosen chart the active
    // one.
    if (addedChart || addedBase)
        emit parts_.Services.Notifier->chartsAdded();
    // The page shown puts the cursor where the mouse is: before the active
    // chart is chosen.
    if (parts_.ShowChartPage)
        parts_.ShowChartPage();
    if (parts_.ShowEventTable)
        parts_.ShowEventTable();
    const int ref = charts.NumberOf(baseId);
    const int active = charts.NumberOf(chosenId);
    // Both are drawn: while ten others are, the first of those make room.
    std::vector<int> toShow, toHide;
    for (int n : {ref, active})
        if (!charts.Rec(n).Shown)
            toShow.push_back(n);
    for (int i = 1;
         i <= charts.Count &&
         charts.ShownCount - static_cast<int>(toHide.size()) + static_cast<int>(toShow.size()) > kMaxShown;
         ++i)
        if (i != ref && i != active && charts.Rec(i).Shown)
            toHide.push_back(i);
    HideSelectedCharts(charts, toHide);
    ShowSelectedCharts(charts, toShow);
    if (!toShow.empty() || !toHide.empty())
        emit parts_.Services.Notifier->chartsChanged(ChartChange::Visibility);
    charts.SetReference(ref);
    emit parts_.Services.Notifier->referenceChanged(true);
    const TJednoMereni& a = charts.Rec(active);
    charts.ActiveIndex = active;
    charts.ActiveCursor = std::clamp(charts.RefCursor, 1, std::max(1, a.SampleCount));
    if (charts.ActiveCursor <= static_cast<int>(a.Samples.size())) {
        charts.ActiveCursorX = SampleDistance(a, charts.ActiveCursor);
        charts.ActiveCursorY = a.Sample(charts.ActiveCursor);
    } else {
        charts.ActiveCursor = 0;
    }
    emit parts_.Services.Notifier->activeChanged();
}

void ArchiveCommands::History()
{
    const std::optional<ArchiveEntry> e = ChosenWithCable();
    if (!e)
        return;
    const std::optional<std::vector<ArchiveEntry>> entries = archive_->History(e->Tags.Cable);
    if (!entries) {
        parts_.Services.Dialogs->ShowErrorMessage(archive_->status().Message);
        return;
    }
    HistoryDialog dialog(e->Tags.Cable, *entries, parts_.Services.Window);
    dialog.exec();
}

void ArchiveCommands::ImportFolder()
{
    if (!Archive() || !parts_.ChooseFolder)
        return;
    const std::optional<QString> folder = parts_.ChooseFolder(parts_.Services.Window, lastFolder_);
    if (!folder || folder->isEmpty())
        return;
    lastFolder_ = *folder;
    const FolderImportResult result =
        FolderImport::Run(parts_.Services.Window, where_, folder->toStdString());
    Tell(ImportSummary(result));
    if (Archive())
        Reload();
}

} // namespace lumidrax
