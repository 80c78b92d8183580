#pragma once

#include <QString>

// Writes to the configuration record (row id 1 of Tabela1 in QV_Config.mdb).
namespace ConfigStore {

QString makeHomeSql(const QString& encodedTitle, const QString& encodedUrl);
QString positionSql(int leftTwips, int topTwips);
QString minimizedSql(int flag);

// Runs one update on QV_Config.mdb at ConfigDbPath. An update that matches no row is an error:
// the configuration record is missing.
void update(const QString& sql);

} // namespace ConfigStore
