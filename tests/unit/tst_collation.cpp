// Built with AddressSanitizer and UndefinedBehaviorSanitizer: every text is handed over in a
// buffer of exactly its size, so a read past its end stops the test.
#include "storage/NoCaseCollation.h"

#include <QByteArray>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {
int compare(const QByteArray& ua, const QByteArray& ub)
{
    auto ba = std::make_unique<char[]>(size_t(ua.size()));
    auto bb = std::make_unique<char[]>(size_t(ub.size()));
    std::copy(ua.begin(), ua.end(), ba.get());
    std::copy(ub.begin(), ub.end(), bb.get());
    return compareNoCase({ba.get(), size_t(ua.size())}, {bb.get(), size_t(ub.size())});
}

int sign(int v) { return (v > 0) - (v < 0); }

const QByteArray kLong = QByteArray("\xC3\xA1").repeated(5000); // "á" x 5000
const QByteArray kDigits(10000, '9');
} // namespace

class tst_collation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void order_data();
    void order();
    void sortIsConsistent();
};

void tst_collation::order_data()
{
    QTest::addColumn<QByteArray>("a"); // UTF-8, or not
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<int>("expected"); // sign of compare(a, b)
    const auto row = [](const char* name, const char* a, const char* b, int expected) {
        QTest::newRow(name) << QByteArray(a) << QByteArray(b) << expected;
    };
    row("case", "abc", "ABC", 0);
    row("accent", "álvaro", "Alvaro", 0);
    row("accent before z", "Álvaro", "zebra", -1);
    row("combining accent", "e\u0301clair", "Éclair", 0);
    row("two accents", "Việt", "viet", 0);
    row("greek tonos", "Άλφα", "αλφα", 0);
    row("hangul stays whole", "가", "각", -1);
    row("numbers by value", "Site 2", "Site 10", -1);
    row("version parts", "Versão 1.9", "Versão 1.10", -1);
    row("equal numbers", "Site 10", "site 10", 0);
    row("fewer leading zeros first", "Site 7", "Site 07", -1);
    row("zeros only", "0", "00", -1);
    row("beyond 64 bits", "99999999999999999999999", "18446744073709551616", 1);
    row("beyond 64 bits, last digit", "99999999999999999999998", "99999999999999999999999", -1);
    row("digit before letter", "1", "a", -1);
    row("prefix first", "Site", "Site 1", -1);
    row("empty", "", "", 0);
    row("empty first", "", "a", -1);
    row("marks only equal empty", "\u0301\u0308", "", 0);
    row("latin before greek", "zebra", "Ωmega", -1);
    row("greek before cyrillic", "Ωmega", "Яблоко", -1);
    row("cyrillic before han", "яблоко", "日本", -1);
    row("outside the basic plane", "𝐀", "𝐁", -1);
    row("truncated sequence as its byte", "\xC3", "\xC3\xA3", 0); // "Ã", "ã"
    row("stray continuation", "\x80", "\xBF", -1);
    QTest::newRow("long titles") << kLong + "1" << QByteArray(5000, 'A') + "2" << -1;
    QTest::newRow("long numbers") << kDigits << kDigits + "0" << -1;
    QTest::newRow("long numbers, equal") << "x" + kDigits << "X" + kDigits << 0;
}

void tst_collation::order()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(int, expected);
    QCOMPARE(sign(compare(a, b)), expected);
    QCOMPARE(sign(compare(b, a)), -expected);
}

// A sorted list stays in order pair by pair: the order is a real total order.
void tst_collation::sortIsConsistent()
{
    QList<QByteArray> titles{"Site 10", "site 2",  "Site 02", "Site",    "Site 1a",  "Site 1",
                             "Ítalo",   "italo 3", "ITALO03", "e\u0301", "é1",       "E01",
                             "0",       "000",     "00",      "9",       "10",       "Ωmega",
                             "ωmega 1", "Яблоко",  "가",      "각",      "\xC3\x28", "a0b",
                             "a00b",    "a0b0",    kDigits,   "1.10",    "1.9",      "1.09"};
    std::stable_sort(titles.begin(), titles.end(),
                     [](const QByteArray& x, const QByteArray& y) { return compare(x, y) < 0; });
    for (qsizetype i = 0; i < titles.size(); ++i) {
        for (qsizetype j = i + 1; j < titles.size(); ++j)
            QVERIFY2(compare(titles[i], titles[j]) <= 0,
                     (titles[i] + " / " + titles[j]).constData());
    }
}

QTEST_GUILESS_MAIN(tst_collation)
#include "tst_collation.moc"
