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
    QTest::newRow("empty device") << QStringList{u"--com1"_s, u""_s} << 2 << u"--com1 needs a device path"_s;
    QTest::newRow("blank device") << QStringList{u"--com3=  "_s} << 2 << u"--com3 needs a device path"_s;
    QTest::newRow("device option without its path") << QStringList{u"--com2"_s} << 2 << u"Missing value after '--com2'"_s;
    QTest::newRow("unknown option") << QStringList{u"--colour"_s} << 2 << u"unknown option 'colour'"_s;
    QTest::newRow("empty trace file") << QStringList{u"--trace"_s, u""_s} << 2 << u"--trace needs a file name"_s;
    QTest::newRow("window-system options pass")
        << QStringList{u"-platform"_s, u"xcb"_s, u"-style"_s, u"fusion"_s, u"--version"_s} << 0 << QStringLiteral("orvik " ORVIK_VERSION);
    QTest::newRow("help wins over a mistake") << QStringList{u"--com1"_s, u""_s, u"--help"_s} << 0 << u"--form-type <type>"_s;
}

void TstApp::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    const QString exe = QCoreApplication::applicationDirPath() + u"/../src/orvik"_s;
    QVERIFY2(QFileInfo::exists(exe), qPrintable(exe));
    QProcess p;
    // Options are answered before any window system is needed: no display here.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"QT_QPA_PLATFORM"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s})
        env.remove(name);
    p.setProcessEnvironment(env);
    p.start(exe, args);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), exitCode);
    const QString all = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    QVERIFY2(all.contains(output), qPrintable(all));
}

QTEST_GUILESS_MAIN(TstApp)
#include "tst_app.moc"
