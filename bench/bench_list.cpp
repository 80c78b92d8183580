// How long the administration window takes to fill its list from the saved sites.
// Run: bench_list -median 5   (QT_QPA_PLATFORM=offscreen works)
#include "TestInstall.h"

#include "storage/SiteStore.h"

#include "browser/AppSetup.h"
#include "forms/Forms.h"
#include "sites/Form2_Lista.h"
#include "storage/Database.h"

#include <QApplication>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTest>

#include <map>
#include <memory>

namespace {
// Titles as people save them: mixed case, accents, words and numbers, some alike.
QString title(QRandomGenerator& rng)
{
    static const QStringList first{"Notícias",
                                   "banco",
                                   "Receitas da Vovó",
                                   "Fórum",
                                   "clube",
                                   "Jornal",
                                   "Previsão do tempo",
                                   "música",
                                   "Álbum de fotos",
                                   "Éxitos",
                                   "loja",
                                   "Universidade",
                                   "portal",
                                   "Câmara",
                                   "prefeitura",
                                   "Blog",
                                   "Rádio",
                                   "ônibus",
                                   "Horários",
                                   "Óculos",
                                   "açúcar",
                                   "Zebra Filmes",
                                   "YouTube",
                                   "wikipédia",
                                   "Correios",
                                   "receita federal",
                                   "Ímã"};
    static const QStringList second{
        "de São Paulo", "online", "do Brasil", "- página inicial", "BR",
        "ao vivo",      "e cia.", "(oficial)", "para crianças",    "Ltda",
        "de Belém",     "2024",   "rede",      "do João"};
    return first[rng.bounded(first.size())] + ' ' + second[rng.bounded(second.size())] + ' ' +
           QString::number(rng.bounded(1000));
}
} // namespace

class bench_list : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void refillList_data();
    void refillList();

private:
    QString database(int rows);

    std::unique_ptr<TestInstall> m_inst;
    std::map<int, QString> m_databases;
};

void bench_list::initTestCase()
{
    m_inst = std::make_unique<TestInstall>();
    Database::setObserver({});
    Forms::get<Form2_Lista>();
}

void bench_list::cleanupTestCase() { m_inst.reset(); }

// One database per size, filled once in one transaction.
QString bench_list::database(int rows)
{
    if (m_databases.count(rows))
        return m_databases[rows];
    const QString path = m_inst->dir() + QStringLiteral("/BD/sites_%1.mdb").arg(rows);
    QRandomGenerator rng(rows);
    QString sql = SiteStore::schemaSql() + QStringLiteral("BEGIN;");
    for (int i = 0; i < rows; ++i)
        sql += QStringLiteral("INSERT INTO Tabela1 (titulo1,url) VALUES ('%1', "
                              "'http://www.site%2.com.br/pagina.htm');")
                   .arg(title(rng))
                   .arg(i);
    TestInstall::exec(path, sql + QStringLiteral("COMMIT;"));
    return m_databases[rows] = path;
}

void bench_list::refillList_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("shown");
    for (int rows : {1000, 10000, 32767, 100000}) {
        // Hidden: the window's load. Shown: the refill after an insert, update or delete.
        QTest::addRow("%d rows, hidden", rows) << rows << false;
        QTest::addRow("%d rows, shown", rows) << rows << true;
    }
}

void bench_list::refillList()
{
    QFETCH(int, rows);
    QFETCH(bool, shown);
    Form2_Lista& f = Forms::get<Form2_Lista>();
    f.setVisible(shown);
    auto db = Database::OpenDatabase(database(rows));
    int n = 0;
    QBENCHMARK { n = f.refillList(*db); }
    QCOMPARE(n, rows);
    QCOMPARE(f.lstSites->count(), rows);
}

int main(int argc, char** argv)
{
    AppSetup::beforeApplication();
    QApplication app(argc, argv);
    AppSetup::afterApplication();
    bench_list bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_list.moc"
