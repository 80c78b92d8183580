// The text encoding: an encoded text between apostrophes is always exactly one SQL string
// literal, and the engine stores the text with only line breaks and tabs spelled out.
#include "storage/SiteStore.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>

namespace {
sqlite3* memoryDb()
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        return d;
    }();
    return db;
}

// What a stored text reads back as, when the statement took it unchanged.
QString storedValue(const QString& literalSql)
{
    const QByteArray sql = literalSql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(memoryDb(), sql.constData(), int(sql.size()), &stmt, &tail) !=
            SQLITE_OK ||
        (tail && *tail))
        std::abort(); // the text escaped its literal
    if (sqlite3_step(stmt) != SQLITE_ROW)
        std::abort();
    const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    const QString out = QString::fromUtf8(v, sqlite3_column_bytes(stmt, 0));
    sqlite3_finalize(stmt);
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString encoded = EncodeSqlText(text);
    DecodeSqlText(encoded);
    DecodeSqlText(text);
    if (text.contains(QChar(0)))
        return 0; // refused before any statement is built
    QString expected = text;
    expected.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    expected.replace(QLatin1String("\t"), QLatin1String("\\t"));
    if (storedValue(QStringLiteral("select '") + encoded + QStringLiteral("'")) != expected)
        std::abort();
    return 0;
}
