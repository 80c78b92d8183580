#pragma once

#include <QString>

#include <optional>

// The configuration record: row id 1 of Tabela1 in QV_Config.mdb at ConfigDbPath. Every
// statement on it lives here.
struct ConfigRecord {
    float left = 0; // twips
    float top = 0;
    QString homeURL;
    QString homeTitulo;
    qint16 minimizado = 0;
};

namespace ConfigStore {

// Reads the record; a missing file, table or row is an error that names the file.
ConfigRecord read();

// Updates of the record, each one statement on QV_Config.mdb at ConfigDbPath. An update that
// matches no row is an error: the configuration record is missing.
// The home page, title and address as typed (stored encoded).
void setHome(const QString& title, const QString& url);
void setPosition(int leftTwips, int topTwips);
void setStartMinimized(bool minimized);

// A setting of table Ajustes (chave, valor) in QV_Config.mdb, which the user creates with the
// sqlite3 tool; the program never creates it. A missing table or row is no value.
std::optional<QString> setting(const QString& key);
inline constexpr char16_t kSearchKey[] = u"pesquisa";

} // namespace ConfigStore
