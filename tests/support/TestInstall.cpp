#include "TestInstall.h"

#include "FakeBrowser.h"
#include "FakePlatform.h"

#include "browser/Form1_Ini.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/MainWindow.h"
#include "storage/Database.h"
#include "storage/SiteStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTest>

#include <sqlite3.h>

namespace {
QString readSource(const QString& relative)
{
    QFile f(QStringLiteral(QV_SOURCE_DIR "/") + relative);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(f.fileName()));
    return QString::fromUtf8(f.readAll());
}
} // namespace

TestInstall::TestInstall()
    : platform(FakePlatform::install())
{
    QDir(dir()).mkpath(QStringLiteral("BD"));
    QDir(dir()).mkpath(QStringLiteral("Web"));
    exec(configDb(), readSource(QStringLiteral("assets/sql/QV_Config.sql")));
    exec(linksDb(), SiteStore::schemaSql());
    setApplicationDirForTesting(dir());
    QV_Variaveis::SetDatabasePaths();
    FakeBrowser::installFactory();
    MainWindow::setLoader([]() -> MainWindow& { return Forms::get<Form1_Ini>(); });
    ErrorReporter::setHandler([this](const QString& m) { errors.append(m); });
    Database::setObserver([this](const QString& path, const QString& sql) {
        // The history's and the session's writer threads keep their own pace: a test that counts
        // statements would see them arrive at any moment. Their own tests check those stores.
        if (path == QV_Variaveis::HistoryDbPath || path == QV_Variaveis::SessionDbPath)
            return;
        static QMutex lock; // an import writes from a thread of its own
        const QMutexLocker locked(&lock);
        statements.append(sql);
    });
}

TestInstall::~TestInstall()
{
    Forms::resetForTesting();
    // Let deferred deletions run before the folder goes away.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Database::setObserver({});
    ErrorReporter::setHandler({});
    FormTimer::setSpeedFactorForTesting(1.0);
    setApplicationDirForTesting(QString());
}

QString TestInstall::configDb() const { return dir() + QStringLiteral("/BD/QV_Config.mdb"); }
QString TestInstall::linksDb() const { return dir() + QStringLiteral("/BD/QV_Links.mdb"); }

void TestInstall::exec(const QString& dbPath, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(dbPath.toUtf8().constData(), &db);
    // A store's writer thread may hold the file for a moment (its last close checkpoints it).
    sqlite3_busy_timeout(db, 5000);
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK)
        qFatal("sql failed on %s: %s", qPrintable(dbPath), err);
    sqlite3_close(db);
}

QStringList TestInstall::query(const QString& dbPath, const QString& sql)
{
    QStringList out;
    sqlite3* db = nullptr;
    sqlite3_open_v2(dbPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        qFatal("query failed on %s: %s", qPrintable(dbPath), sqlite3_errmsg(db));
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto* t = sqlite3_column_text(st, 0);
        out.append(t ? QString::fromUtf8(reinterpret_cast<const char*>(t))
                     : QStringLiteral("<null>"));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}
