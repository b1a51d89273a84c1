// archive import|search|export|check: the chart archive on the command line.
//
//   archive import FOLDER [--cable C] [--site S] [--job J] [--operator O]
//   archive search [--text T] [--from D] [--to D] [--serial N] [--model M] [--cable C]
//                  [--sort COLUMN] [--ascending] [--offset N] [--limit N]
//   archive export ID... -o FOLDER
//   archive check
//
// Every one takes the archive's location: --archive FILE (an SQLite file;
// the user's default archive without it), or --pg HOST (a PostgreSQL host
// or socket folder) with --port, --database and --user; the password comes
// from PGPASSWORD, ~/.pgpass or PGPASSFILE, never from the command line.
// import prints its progress on standard error; search prints a JSON array
// of entries, the others one JSON object.
//
// This command lives in its own executable, lumidrax-tool-archive (it needs
// Qt SQL), which lumidrax-tool runs for it.

#include "ChartJson.h"
#include "Commands.h"

#include "ChartArchive.h"

#include "ChartFile.h"
#include "FileIO.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <set>

namespace lumidrax::tool {

namespace {

struct LocationOptions {
    std::string file;
    std::string pg;
    int port = 5432;
    std::string database = "lumidrax";
    std::string user;

    ArchiveLocation Location() const
    {
        ArchiveLocation where = pg.empty() ? ArchiveLocation{} : PostgresLocation(pg, port, database, user);
        where.File = file;
        return where;
    }
};

void AddLocationOptions(CLI::App* cmd, LocationOptions& o)
{
    auto* file = cmd->add_option("--archive", o.file,
                                 "SQLite archive file (default: the user's archive, "
                                 "$XDG_DATA_HOME/lumidrax/archive.sqlite)");
    auto* pg = cmd->add_option("--pg", o.pg, "use the PostgreSQL archive on this host (or socket folder)");
    file->excludes(pg);
    cmd->add_option("--port", o.port, "PostgreSQL port (default 5432)")->needs(pg);
    cmd->add_option("--database", o.database, "PostgreSQL database (default lumidrax)")->needs(pg);
    cmd->add_option("--user", o.user, "PostgreSQL user (default: libpq's)")->needs(pg);
}

Json EntryToJson(const ArchiveEntry& e)
{
    Json j = Json::object();
    j["Id"] = e.Id;
    j["Hash"] = e.Hash;
    j["Model"] = e.Model;
    j["SerialNumber"] = e.SerialNumber;
    j["MeasuredAt"] = e.MeasuredAt;
    j["MeasuredSort"] = e.MeasuredSort;
    j["Description"] = e.Description;
    j["FilePath"] = e.FilePath;
    j["FileName"] = e.FileName;
    j["SeriesFirst"] = e.SeriesFirst;
    j["SeriesLast"] = e.SeriesLast;
    j["Interval"] = e.Interval;
    j["Velocity"] = D(e.Velocity);
    j["Impedance"] = e.Impedance;
    j["Noise"] = e.Noise;
    j["Filter"] = e.Filter;
    j["FilterPost"] = e.FilterPost;
    j["SampleCount"] = e.SampleCount;
    j["RangeMetres"] = D(e.RangeMetres);
    j["DCVoltageText"] = e.DCVoltageText;
    j["DCResistanceText"] = e.DCResistanceText;
    j["DCVoltage"] = e.DCVoltage;
    j["DCResistance"] = e.DCResistance;
    j["EventCount"] = e.EventCount;
    j["EndFound"] = e.EndFound;
    j["EndDistance"] = D(e.EndDistance);
    j["EndKind"] = e.EndKind;
    j["Cable"] = e.Tags.Cable;
    j["Site"] = e.Tags.Site;
    j["Job"] = e.Tags.Job;
    j["Operator"] = e.Tags.Operator;
    j["Origin"] = std::string(OriginName(e.Origin));
    j["OriginDetail"] = e.OriginDetail;
    j["RecordedAt"] = e.RecordedAt;
    j["IsBaseline"] = e.IsBaseline;
    j["Verdict"] = e.Verdict;
    return j;
}

void Print(const Json& j)
{
    std::cout << j.dump(2) << '\n';
}

// Prints the failure to open as the command's object; exit status 1.
int NotOpen(const ChartArchive& archive)
{
    Print({{"archive", DescribeLocation(archive.location())}, {"error", archive.status().Message}});
    return 1;
}

struct ImportOptions {
    LocationOptions where;
    std::string folder;
    ArchiveTags tags;
    int progressEvery = 100;
};

int RunImport(const ImportOptions& o)
{
    ChartArchive archive(o.where.Location());
    if (!archive.isOpen())
        return NotOpen(archive);
    const int every = std::max(o.progressEvery, 1);
    const ImportResult r = archive.Import(
        o.folder,
        [every](const ImportProgress& p) {
            if (p.Done % every == 0 || p.Done == p.Total)
                std::cerr << "archive import: " << p.Done << "/" << p.Total
                          << (p.Current.empty() ? std::string() : " " + p.Current) << '\n';
            return true;
        },
        o.tags);
    Json failed = Json::array();
    for (const auto& [file, message] : r.Failed)
        failed.push_back({{"file", file}, {"message", message}});
    Json out = {{"archive", DescribeLocation(archive.location())},
                {"folder", o.folder},
                {"added", r.Added},
                {"skipped", r.Skipped},
                {"failed", std::move(failed)},
                {"cancelled", r.Cancelled}};
    Print(out);
    return r.Failed.empty() ? 0 : 1;
}

struct SearchOptions {
    LocationOptions where;
    ArchiveQuery query;
    std::string sort = "measured";
    bool ascending = false;
};

const std::map<std::string, ArchiveColumn>& SortColumns()
{
    static const std::map<std::string, ArchiveColumn> columns = {
        {"measured", ArchiveColumn::MeasuredAt}, {"description", ArchiveColumn::Description},
        {"file", ArchiveColumn::FileName},       {"cable", ArchiveColumn::Cable},
        {"site", ArchiveColumn::Site},           {"job", ArchiveColumn::Job},
        {"operator", ArchiveColumn::Operator},   {"model", ArchiveColumn::Model},
        {"serial", ArchiveColumn::SerialNumber}, {"end", ArchiveColumn::EndDistance},
        {"recorded", ArchiveColumn::RecordedAt},
    };
    return columns;
}

int RunSearch(SearchOptions o)
{
    ChartArchive archive(o.where.Location());
    o.query.SortBy = SortColumns().at(o.sort);
    o.query.Descending = !o.ascending;
    const auto found = archive.isOpen() ? archive.Search(o.query) : std::nullopt;
    Json out = Json::array();
    if (!found) {
        Print(out);
        std::cerr << "lumidrax-tool: " << archive.status().Message << '\n';
        return 1;
    }
    for (const ArchiveEntry& e : *found)
        out.push_back(EntryToJson(e));
    Print(out);
    return 0;
}

struct ExportOptions {
    LocationOptions where;
    std::vector<ArchiveId> ids;
    std::string folder;
};

int RunExport(const ExportOptions& o)
{
    ChartArchive archive(o.where.Location());
    if (!archive.isOpen())
        return NotOpen(archive);
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(o.folder, ec);
    Json results = Json::array();
    bool failed = false;
    std::set<std::string> used;
    for (const ArchiveId id : o.ids) {
        Json entry = {{"id", id}};
        const auto chart = archive.Chart(id);
        const auto listed = chart ? archive.Entry(id) : std::nullopt;
        if (!chart || !listed) {
            entry["error"] = archive.status().Message;
            failed = true;
            results.push_back(std::move(entry));
            continue;
        }
        // The chart's own file name; the entry's number first when two
        // exported charts share one, or when it has none.
        std::string name =
            listed->FileName.empty() ? "entry-" + std::to_string(id) + ".ndt" : listed->FileName;
        if (!used.insert(name).second)
            name = std::to_string(id) + "-" + name;
        used.insert(name);
        const std::string path = (fs::path(o.folder) / name).string();
        const SaveOutcome saved = WriteFileAtomically(path, ChartFileText(*chart));
        entry["file"] = path;
        if (saved.Done()) {
            entry["result"] = 0;
        } else {
            entry["error"] = SaveErrorText(saved);
            failed = true;
        }
        results.push_back(std::move(entry));
    }
    Print({{"archive", DescribeLocation(archive.location())}, {"results", std::move(results)}});
    return failed ? 1 : 0;
}

int RunCheck(const LocationOptions& o)
{
    ChartArchive archive(o.Location());
    if (!archive.isOpen())
        return NotOpen(archive);
    const std::vector<std::string> problems = archive.Check();
    Json out = {{"archive", DescribeLocation(archive.location())}};
    if (const auto count = archive.Count({}))
        out["entries"] = *count;
    out["schema"] = archive.schemaVersion();
    out["problems"] = problems;
    Print(out);
    return problems.empty() ? 0 : 1;
}

} // namespace

void AddArchiveCommand(CLI::App& app, int& exitStatus)
{
    CLI::App* archive = app.add_subcommand(
        "archive", "The chart archive: import chart files, search it, export charts, check it");
    archive->require_subcommand(1);

    auto im = std::make_shared<ImportOptions>();
    CLI::App* cmd = archive->add_subcommand(
        "import", "Record every chart file (*.ndt) below FOLDER; already archived charts are skipped");
    cmd->add_option("FOLDER", im->folder, "folder tree of chart files")->required();
    AddLocationOptions(cmd, im->where);
    cmd->add_option("--cable", im->tags.Cable, "cable tag of the imported charts");
    cmd->add_option("--site", im->tags.Site, "site tag of the imported charts");
    cmd->add_option("--job", im->tags.Job, "job tag of the imported charts");
    cmd->add_option("--operator", im->tags.Operator, "operator tag of the imported charts");
    cmd->add_option("--progress-every", im->progressEvery,
                    "a progress line on standard error every N files (default 100)")
        ->check(CLI::PositiveNumber);
    cmd->callback([im, &exitStatus] { exitStatus = RunImport(*im); });

    auto se = std::make_shared<SearchOptions>();
    se->query.Limit = 0;
    cmd = archive->add_subcommand("search", "Print the entries that match, as a JSON array");
    AddLocationOptions(cmd, se->where);
    cmd->add_option("--text", se->query.Text,
                    "words that must all occur in the description, file name, cable, site or job");
    cmd->add_option("--from", se->query.From, "first measurement date, YYYY-MM-DD");
    cmd->add_option("--to", se->query.To, "last measurement date, YYYY-MM-DD");
    cmd->add_option("--serial", se->query.SerialNumber, "instrument serial number");
    cmd->add_option("--model", se->query.Model, "instrument model (VKR104, ...)");
    cmd->add_option("--cable", se->query.Cable, "cable (exactly)");
    std::vector<std::string> names;
    for (const auto& [name, column] : SortColumns())
        names.push_back(name);
    cmd->add_option("--sort", se->sort,
                    "order by measured (default), description, file, cable, site, job, "
                    "operator, model, serial, end or recorded")
        ->check(CLI::IsMember(names));
    cmd->add_flag("--ascending", se->ascending, "oldest / smallest first (default: newest first)");
    cmd->add_option("--offset", se->query.Offset, "entries to pass over first")
        ->check(CLI::NonNegativeNumber);
    cmd->add_option("--limit", se->query.Limit, "at most this many entries (0 = all, the default)")
        ->check(CLI::NonNegativeNumber);
    const auto isoDate = CLI::Validator(
        [](std::string& text) {
            const bool ok = text.size() == 10 && text[4] == '-' && text[7] == '-' &&
                            std::all_of(text.begin(), text.end(), [](char c) {
                                return c == '-' || std::isdigit(static_cast<unsigned char>(c));
                            });
            return ok ? std::string() : "not a date YYYY-MM-DD: " + text;
        },
        "YYYY-MM-DD");
    cmd->get_option("--from")->check(isoDate);
    cmd->get_option("--to")->check(isoDate);
    cmd->callback([se, &exitStatus] { exitStatus = RunSearch(*se); });

    auto ex = std::make_shared<ExportOptions>();
    cmd = archive->add_subcommand("export", "Write archived charts to chart files in FOLDER");
    cmd->add_option("ID", ex->ids, "entry numbers (Id of search)")->required();
    cmd->add_option("-o,--output", ex->folder, "folder for the chart files (made when missing)")->required();
    AddLocationOptions(cmd, ex->where);
    cmd->callback([ex, &exitStatus] { exitStatus = RunExport(*ex); });

    auto ch = std::make_shared<LocationOptions>();
    cmd = archive->add_subcommand("check", "Check the archive's integrity: exit 0 sound, 1 problems listed");
    AddLocationOptions(cmd, *ch);
    cmd->callback([ch, &exitStatus] { exitStatus = RunCheck(*ch); });
}

} // namespace lumidrax::tool
