#pragma once
// A private PostgreSQL 15 server for the archive tests: a fresh cluster in
// a temporary folder, listening only on a unix socket in that folder (no
// TCP), started with initdb and pg_ctl from /usr/lib/postgresql/15/bin and
// stopped when the object goes. The server refuses to run as root: under
// root it runs as the user postgres (runuser), the folder given to it.

#include "ArchiveLocation.h"
#include "TestSupport.h"

#include <memory>
#include <string>

namespace lumidrax::test {

class PostgresServer {
  public:
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Running; otherwise Reason() says why not (binaries missing, ...).
    bool Running() const { return running_; }
    const std::string& Reason() const { return reason_; }

    // Makes a new empty database and returns where it is.
    ArchiveLocation NewDatabase();
    // The location of an existing database (or of one that is not there).
    ArchiveLocation Location(const std::string& database) const;

    void Stop();
    bool Start();

    // One server for a whole test program, started on first use.
    static PostgresServer& Shared();

  private:
    bool Run(const std::string& commandLine, bool asServerUser);

    std::unique_ptr<TempDir> dir_;
    std::string data_, socket_, log_;
    bool running_ = false;
    std::string reason_;
    int databases_ = 0;
};

} // namespace lumidrax::test
