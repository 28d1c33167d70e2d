// The tool's command line, run as a user runs it.
#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;

class TstApp : public QObject
{
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
};

void TstApp::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"orvik "_s;
    QTest::newRow("help lists the ports") << QStringList{u"--help"_s} << 0 << u"--com4 <path>"_s;
    QTest::newRow("help lists the form types") << QStringList{u"--help"_s} << 0 << u"all, user, factory, tool or debug"_s;
    QTest::newRow("unknown form type") << QStringList{u"--form-type"_s, u"expert"_s} << 2 << u"unknown form type 'expert'"_s;
}

void TstApp::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    const QString exe = QCoreApplication::applicationDirPath() + u"/../src/orvik"_s;
    QVERIFY2(QFileInfo::exists(exe), qPrintable(exe));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    p.setProcessEnvironment(env);
    p.start(exe, args);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), exitCode);
    const QString all = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    QVERIFY2(all.contains(output), qPrintable(all));
}

QTEST_GUILESS_MAIN(TstApp)
#include "tst_app.moc"
