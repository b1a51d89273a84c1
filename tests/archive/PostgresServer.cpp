#include "PostgresServer.h"

#include <filesystem>
#include <unistd.h>

namespace lumidrax::test {

namespace {

const std::string kBin = "/usr/lib/postgresql/15/bin/";
const std::string kServerUser = "postgres";
const std::string kRole = "archive";
constexpr int kPort = 5432;

std::string Quote(const std::string& text)
{
    std::string out = "'";
    for (char ch : text)
        out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return out + "'";
}

} // namespace

PostgresServer::PostgresServer()
{
    namespace fs = std::filesystem;
    if (!fs::exists(kBin + "initdb") || !fs::exists(kBin + "pg_ctl")) {
        reason_ = "PostgreSQL 15 is not installed (" + kBin + "initdb, pg_ctl; Debian package postgresql)";
        return;
    }
    dir_ = std::make_unique<TempDir>();
    data_ = dir_->File("data");
    socket_ = dir_->File("socket");
    log_ = dir_->File("server.log");
    fs::create_directories(socket_);
    if (::geteuid() == 0) {
        fs::permissions(dir_->Path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        // The server user passes through the folders above it too (a test
        // program's private temporary folder), up to the first one it can
        // already pass: nothing above that is touched.
        for (fs::path above = fs::path(dir_->Path()).parent_path();
             above != above.root_path() &&
             (fs::status(above).permissions() & fs::perms::others_exec) == fs::perms::none;
             above = above.parent_path())
            fs::permissions(above, fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add);
        if (!Run("chown -R " + kServerUser + " " + Quote(dir_->Path()), false)) {
            reason_ = "the folder cannot be given to the user " + kServerUser;
            return;
        }
    }
    if (!Run(kBin + "initdb -D " + Quote(data_) + " -U " + kRole +
                 " --auth=trust --no-locale -E UTF8 --no-sync >/dev/null 2>&1",
             true)) {
        reason_ = "initdb failed";
        return;
    }
    Start();
}

PostgresServer::~PostgresServer()
{
    Stop();
}

bool PostgresServer::Run(const std::string& commandLine, bool asServerUser)
{
    std::string output;
    const std::string line = asServerUser && ::geteuid() == 0
                                 ? "runuser -u " + kServerUser + " -- sh -c " + Quote(commandLine)
                                 : commandLine;
    return RunCommand(line + " </dev/null", output) == 0;
}

bool PostgresServer::Start()
{
    if (running_)
        return true;
    const std::string options = "-c listen_addresses='' -k " + socket_ + " -p " + std::to_string(kPort) +
                                " -c fsync=off -c full_page_writes=off";
    running_ = Run(kBin + "pg_ctl -D " + Quote(data_) + " -l " + Quote(log_) + " -w -t 60 -o " +
                       Quote(options) + " start >/dev/null 2>&1",
                   true);
    if (!running_)
        reason_ = "the server did not start (see " + log_ + ")";
    return running_;
}

void PostgresServer::Stop()
{
    if (!running_)
        return;
    Run(kBin + "pg_ctl -D " + Quote(data_) + " -m immediate -w stop >/dev/null 2>&1", true);
    running_ = false;
}

ArchiveLocation PostgresServer::Location(const std::string& database) const
{
    return PostgresLocation(socket_, kPort, database, kRole);
}

ArchiveLocation PostgresServer::NewDatabase()
{
    const std::string name = "archive_test_" + std::to_string(++databases_);
    Run(kBin + "createdb -h " + Quote(socket_) + " -p " + std::to_string(kPort) + " -U " + kRole + " " +
            name + " >/dev/null 2>&1",
        false);
    return Location(name);
}

PostgresServer& PostgresServer::Shared()
{
    static PostgresServer server;
    return server;
}

} // namespace lumidrax::test
