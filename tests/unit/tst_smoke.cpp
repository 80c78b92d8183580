#include <QTest>
class tst_smoke : public QObject { Q_OBJECT private Q_SLOTS: void ok() {} };
QTEST_MAIN(tst_smoke)
#include "tst_smoke.moc"
