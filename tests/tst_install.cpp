// What `cmake --install` and the Debian package put on a machine: the programs, the menu
// entry, the icons and the manual pages, installed into a temporary prefix.
#include <QImage>
#include <QProcess>
#include <QXmlStreamReader>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int code = -1;
    QString out;
};

Run run(const QString &program, const QStringList &args, const QString &dir = {})
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

QString desktopValue(const QString &text, const QString &key)
{
    for (const QString &line : text.split(u'\n'))
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    return {};
}

} // namespace

class TstInstall : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void menuEntry();
    void debianPackage();

private:
    QTemporaryDir prefix_;
};

void TstInstall::initTestCase()
{
    QVERIFY(prefix_.isValid());
    const Run r = run(QStringLiteral(ORVIK_CMAKE), {u"--install"_s, QStringLiteral(ORVIK_BUILD_DIR), u"--prefix"_s, prefix_.path()});
    QVERIFY2(r.code == 0, qPrintable(r.out));
}

void TstInstall::installedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("kind");
    QTest::newRow("the tool") << u"bin/orvik"_s << u"program"_s;
    QTest::newRow("the simulator") << u"bin/orvik-camsim"_s << u"program"_s;
    QTest::newRow("the line tool") << u"bin/orvik-cli"_s << u"program"_s;
    QTest::newRow("scalable icon") << u"share/icons/hicolor/scalable/apps/orvik.svg"_s << u"svg"_s;
    for (int size : {16, 32, 48, 64, 128, 256})
        QTest::addRow("icon %d", size) << u"share/icons/hicolor/%1x%1/apps/orvik.png"_s.arg(size) << u"png"_s;
    QTest::newRow("manual of the tool") << u"share/man/man1/orvik.1.gz"_s << u"man"_s;
    QTest::newRow("manual of the simulator") << u"share/man/man1/orvik-camsim.1.gz"_s << u"man"_s;
    QTest::newRow("manual of the line tool") << u"share/man/man1/orvik-cli.1.gz"_s << u"man"_s;
}

void TstInstall::installedFiles()
{
    QFETCH(QString, path);
    QFETCH(QString, kind);
    const QString file = prefix_.path() + u'/' + path;
    QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    if (kind == u"program") {
        // The installed copy runs on its own, without the build tree.
        const Run r = run(file, {u"--version"_s});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(QStringLiteral(ORVIK_VERSION)), qPrintable(r.out));
    } else if (kind == u"png") {
        const int size = path.section(u'/', 3, 3).section(u'x', 0, 0).toInt(); // share/icons/hicolor/NxN/...
        const QImage image(file);
        QCOMPARE(image.size(), QSize(size, size));
        // Drawn, not blank: the middle is opaque, the corners are not.
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    } else if (kind == u"svg") {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.attributes().value(u"viewBox"_s), u"0 0 256 256"_s);
    } else if (kind == u"man") {
        const Run r = run(u"gzip"_s, {u"-dc"_s, file});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith(u".TH ORVIK"_s));
        QVERIFY(r.out.contains(QStringLiteral("Orvik " ORVIK_VERSION)));
        QVERIFY(!r.out.contains(u'@'));
    }
}

void TstInstall::menuEntry()
{
    const QString file = prefix_.path() + u"/share/applications/orvik.desktop"_s;
    const Run check = run(u"desktop-file-validate"_s, {file});
    QVERIFY2(check.code == 0 && check.out.trimmed().isEmpty(), qPrintable(u"%1: %2"_s.arg(check.code).arg(check.out)));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    // The entry starts the installed program and shows the installed icon.
    QVERIFY(QFileInfo(prefix_.path() + u"/bin/"_s + desktopValue(text, u"Exec"_s)).isExecutable());
    QVERIFY(QFileInfo::exists(prefix_.path() + u"/share/icons/hicolor/48x48/apps/%1.png"_s.arg(desktopValue(text, u"Icon"_s))));
}

void TstInstall::debianPackage()
{
    QTemporaryDir out;
    const Run made = run(QStringLiteral(ORVIK_CPACK), {u"-G"_s, u"DEB"_s, u"-B"_s, out.path()}, QStringLiteral(ORVIK_BUILD_DIR));
    QVERIFY2(made.code == 0, qPrintable(made.out));
    const QStringList debs = QDir(out.path()).entryList({u"orvik_*.deb"_s});
    QCOMPARE(debs.size(), 1);
    const QString deb = out.path() + u'/' + debs.first();

    const Run depends = run(u"dpkg-deb"_s, {u"-f"_s, deb, u"Depends"_s});
    QCOMPARE(depends.code, 0);
    for (const QString &package : {u"libqt6core6"_s, u"libqt6gui6"_s, u"libqt6widgets6"_s, u"qt6-qpa-plugins"_s})
        QVERIFY2(depends.out.contains(package), qPrintable(depends.out));
    const Run contents = run(u"dpkg-deb"_s, {u"-c"_s, deb});
    QCOMPARE(contents.code, 0);
    for (const QString &path : {u"./usr/bin/orvik"_s, u"./usr/bin/orvik-camsim"_s, u"./usr/share/applications/orvik.desktop"_s,
                                u"./usr/share/icons/hicolor/256x256/apps/orvik.png"_s, u"./usr/share/man/man1/orvik.1.gz"_s})
        QVERIFY2(contents.out.contains(path + u'\n'), qPrintable(path));
}

QTEST_GUILESS_MAIN(TstInstall)
#include "tst_install.moc"
