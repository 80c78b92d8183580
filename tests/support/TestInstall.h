#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "core/QvError.h"

class FakePlatform;

// Runs fn and returns the message of the QvError it throws; empty when it throws none.
template <class Fn>
QString errorOf(Fn fn)
{
    try {
        fn();
    } catch (const QvError& e) {
        return e.message();
    }
    return {};
}

// A throwaway installation folder (BD/ with both databases, Web/) that the program's logic
// runs against, with the fake platform and browser installed and errors recorded.
class TestInstall {
public:
    TestInstall();
    ~TestInstall();

    QString dir() const { return m_dir.path(); }
    QString configDb() const;
    QString linksDb() const;

    // Runs SQL on a database file with the sqlite3 C API, outside the program.
    static void exec(const QString& dbPath, const QString& sql);
    // One column of a query, as text (null as "<null>").
    static QStringList query(const QString& dbPath, const QString& sql);

    FakePlatform& platform;
    QStringList errors;
    // Every statement the program issued, in order.
    QStringList statements;

private:
    QTemporaryDir m_dir;
};
