// mkdb: creates a SQLite database file from a SQL script, at build time.
//
//   mkdb <sql-file> <db-file>
//
// An existing database is never touched: users' data must survive any rebuild
// or reinstall. The new database is built in "<db-file>.tmp" and renamed into
// place only when the whole script has run, so a failed run never leaves a
// half-made database behind under the real name.

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool readWholeFile(const fs::path& path, std::string& out, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        error = "cannot read " + path.string();
        return false;
    }
    out = buffer.str();
    return true;
}

void removeQuietly(const fs::path& path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

// Runs the script inside a new database at tmpPath. On failure, error says why.
bool buildDatabase(const fs::path& tmpPath, const fs::path& sqlPath, const std::string& sql,
                   std::string& error)
{
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(tmpPath.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        error = "cannot create " + tmpPath.string() + ": " +
                (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return false;
    }

    char* message = nullptr;
    rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        error = "error in " + sqlPath.string() + ": " + (message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        sqlite3_close(db);
        return false;
    }

    rc = sqlite3_close(db);
    if (rc != SQLITE_OK) {
        error = "cannot finish " + tmpPath.string() + ": " + sqlite3_errstr(rc);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: mkdb <sql-file> <db-file>\n";
        return 2;
    }
    const fs::path sqlPath = argv[1];
    const fs::path dbPath = argv[2];

    std::error_code ec;
    if (fs::exists(fs::symlink_status(dbPath, ec))) {
        if (fs::is_directory(dbPath, ec)) {
            std::cerr << "mkdb: " << dbPath.string() << " is a folder, not a database file\n";
            return 1;
        }
        std::cout << "mkdb: " << dbPath.string() << " exists, left unchanged\n";
        return 0;
    }

    std::string sql;
    std::string error;
    if (!readWholeFile(sqlPath, sql, error)) {
        std::cerr << "mkdb: " << error << '\n';
        return 1;
    }

    if (dbPath.has_parent_path()) {
        fs::create_directories(dbPath.parent_path(), ec);
        if (ec) {
            std::cerr << "mkdb: cannot create folder " << dbPath.parent_path().string() << ": "
                      << ec.message() << '\n';
            return 1;
        }
    }

    fs::path tmpPath = dbPath;
    tmpPath += ".tmp";
    // A leftover from an interrupted run is ours to discard.
    removeQuietly(tmpPath);
    fs::path journal = tmpPath;
    journal += "-journal";
    removeQuietly(journal);

    if (!buildDatabase(tmpPath, sqlPath, sql, error)) {
        std::cerr << "mkdb: " << error << " (while making " << dbPath.string() << ")\n";
        removeQuietly(tmpPath);
        removeQuietly(journal);
        return 1;
    }

    // A hard link puts the file in place atomically and, unlike a rename, fails
    // if another process has created the database meanwhile: that one is kept.
    fs::create_hard_link(tmpPath, dbPath, ec);
    if (ec == std::errc::file_exists) {
        removeQuietly(tmpPath);
        std::cout << "mkdb: " << dbPath.string() << " exists, left unchanged\n";
        return 0;
    }
    if (!ec) {
        removeQuietly(tmpPath);
    } else if (!fs::exists(fs::symlink_status(dbPath, ec))) {
        // File systems without hard links: a plain rename.
        fs::rename(tmpPath, dbPath, ec);
    } else {
        removeQuietly(tmpPath);
        std::cout << "mkdb: " << dbPath.string() << " exists, left unchanged\n";
        return 0;
    }
    if (ec) {
        std::cerr << "mkdb: cannot rename " << tmpPath.string() << " to " << dbPath.string() << ": "
                  << ec.message() << '\n';
        removeQuietly(tmpPath);
        return 1;
    }
    std::cout << "mkdb: created " << dbPath.string() << " from " << sqlPath.string() << '\n';
    return 0;
}
