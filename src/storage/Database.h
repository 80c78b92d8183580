#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class Database;

// Rows of one statement, read forward; positioned on the first row when opened.
class Recordset {
public:
    Recordset(Database& db, sqlite3_stmt* stmt, const QString& sql);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool Eof() const { return m_eof; }
    void MoveNext();

    // The current row's value of a column; an invalid QVariant stands for null.
    QVariant Fields(const QString& column) const;

    // Conversions that callers state; each names the column and the file when it fails.
    QString text(const QString& column) const;        // null is an error
    QString textOrEmpty(const QString& column) const; // null reads as ""
    float single(const QString& column) const;
    // By column position (columnIndex), for reading many rows: null reads as "" and 0.
    int columnIndex(const QString& column) const;
    QString textAt(int column) const;
    qint64 int64At(int column) const;
    qint16 int16(const QString& column) const;
    qint32 int32(const QString& column) const;

    void finalize();

private:
    QVariant requireValue(const QString& column) const;
    void step();
    // A number rounded half to even, which must lie within [min, max].
    double wholeNumber(const QString& column, double min, double max) const;

    Database& m_db;
    sqlite3_stmt* m_stmt;
    QString m_sql;
    std::vector<QString> m_columns;
    bool m_eof = true;
};

// One open database file. The file must exist: opening never creates it.
class Database {
public:
    using Observer = std::function<void(const QString& path, const QString& sql)>;

    static std::unique_ptr<Database> OpenDatabase(const QString& path);
    // Creates a new database file from schema statements; an existing file is an error. A file
    // whose tables cannot be made is removed, or named in the error when it cannot be.
    static void createDatabase(const QString& path, const QString& schemaSql);
    // Creates the folder that is to hold the file at `path`; throws QvError naming both when
    // it cannot.
    static void createFolderFor(const QString& path);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The record set lives until the database is closed.
    Recordset& OpenRecordset(const QString& sql);
    // Runs one statement; it is stored when the call returns. Returns the rows changed.
    int Execute(const QString& sql);
    // The id of the row the last insert on this database added.
    qint64 lastInsertId() const;
    void Close();

    const QString& path() const { return m_path; }
    // The engine's handle, for statements with bound values (the history's).
    sqlite3* handle() const { return m_db; }

    // What every connection gets: a busy timeout, and a length limit on one text or blob far
    // above any title or address, so that a damaged file claiming a huge value is an error
    // instead of a gigabyte allocated and cleared.
    static void configureConnection(sqlite3* db);
    static constexpr int kMaxValueBytes = 64 * 1024 * 1024;

    // Every statement text issued through any database, for tests.
    static void setObserver(Observer observer);

    [[noreturn]] void fail(const QString& what, const QString& sql = {}) const;

    // A writer thread's own statements, run straight through the engine: each failure throws
    // QvError naming the file and the statement.
    sqlite3_stmt* prepareStatement(const char* sql);
    void bindText(sqlite3_stmt* st, int index, const QString& text, const char* sql);
    // A bind's result code.
    void checkWrite(int result, const char* sql);
    // Steps a statement that returns no rows, then makes it ready for its next values.
    void stepWrite(sqlite3_stmt* st, const char* sql);
    void execWrite(const char* sql);
    // The write-ahead journal, or a failure.
    void useWriteAheadJournal();

private:
    Database(sqlite3* db, const QString& path);
    sqlite3_stmt* prepare(const QString& sql);

    sqlite3* m_db;
    QString m_path;
    std::vector<std::unique_ptr<Recordset>> m_recordsets;
};
