#include <QtTest>
class TstConvert : public QObject { Q_OBJECT private slots: void nothing() {} };
QTEST_GUILESS_MAIN(TstConvert)
#include "tst_convert.moc"
