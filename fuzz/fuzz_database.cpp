// Both databases read from arbitrary file bytes: every outcome is a row or a QvError, and the
// file is never changed by reading it.
#include "core/Paths.h"
#include "core/QvError.h"
#include "storage/ConfigStore.h"
#include "storage/SiteStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
const QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    static const bool ready = [] {
        QDir(dir.path()).mkpath(QStringLiteral("BD"));
        setApplicationDirForTesting(dir.path());
        QV_Variaveis::SetDatabasePaths();
        return true;
    }();
    Q_UNUSED(ready);
    return dir;
}

void put(const QString& path, const QByteArray& bytes)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::abort();
}

void readSites()
{
    SiteStore::instance().listing();
    SiteStore::sites(QV_Variaveis::LinksDbPath, SiteStore::Addresses::ForOpening);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    folder();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    put(QV_Variaveis::ConfigDbPath, bytes);
    put(QV_Variaveis::LinksDbPath, bytes);
    try {
        ConfigStore::read();
    } catch (const QvError&) {
    }
    try {
        readSites();
    } catch (const QvError&) {
    }
    for (const QString& path : {QV_Variaveis::ConfigDbPath, QV_Variaveis::LinksDbPath}) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly) && f.readAll() != bytes)
            std::abort(); // reading changed the file
    }
    return 0;
}
