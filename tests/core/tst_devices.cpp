// The serial devices found in a /dev-like folder, and the help given when a device does not
// open: over temporary folders and real pseudo-terminals.
#include "serial/devices.h"
#include "serial/tcomm.h"
#include "support/ptypeer.h"

#include <QtTest>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// Lays out entries "name=kind" under root: kind "pty" (a link to a real terminal), "file",
// "dir", "->target" (a symbolic link), or "type:N" (a kernel tty entry under sys).
bool build(const QString &root, const QStringList &entries, const PtyPeer &pty)
{
    for (const QString &entry : entries) {
        const QString name = entry.section(u'=', 0, 0);
        const QString kind = entry.section(u'=', 1);
        if (kind.startsWith(u"type:"_s)) {
            const QString dir = root + u"/sys/class/tty/"_s + name;
            QDir().mkpath(dir);
            QFile f(dir + u"/type"_s);
            if (!f.open(QIODevice::WriteOnly) || f.write(kind.mid(5).toLatin1() + '\n') < 0)
                return false;
            continue;
        }
        const QString path = root + u"/dev/"_s + name;
        QDir().mkpath(QFileInfo(path).path());
        bool ok = true;
        if (kind == u"pty")
            ok = QFile::link(pty.path(), path);
        else if (kind == u"dir")
            ok = QDir().mkpath(path);
        else if (kind == u"file") {
            QFile f(path);
            ok = f.open(QIODevice::WriteOnly);
        } else if (kind.startsWith(u"->"_s))
            ok = ::symlink(kind.mid(2).toLocal8Bit().constData(), path.toLocal8Bit().constData()) == 0;
        if (!ok)
            return false;
    }
    return true;
}

SerialDevices::Roots rootsIn(const QString &root)
{
    return {QString(root + u"/dev"_s).toStdString(), QString(root + u"/sys"_s).toStdString()};
}

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

// A group this process is not in, by name where the system has one.
QString foreignGroup(gid_t *gid)
{
    const group *g = getgrnam("dialout");
    *gid = g ? g->gr_gid : 4242;
    return g ? u"dialout"_s : u"4242"_s;
}

} // namespace

class TstDevices : public QObject
{
    Q_OBJECT
private slots:
    void scan_data();
    void scan();
    void openErrorHelp_data();
    void openErrorHelp();
    void permissionHelp_data();
    void permissionHelp();
    void busyNamesTheHolder();
};

void TstDevices::scan_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("families in number order")
        << QStringList{u"ttyUSB10=pty"_s, u"ttyUSB2=pty"_s, u"ttyS1=pty"_s, u"ttyACM0=pty"_s, u"ttyS0=pty"_s}
        << QStringList{u"ttyUSB2"_s, u"ttyUSB10"_s, u"ttyACM0"_s, u"ttyS0"_s, u"ttyS1"_s};
    QTest::newRow("only character devices")
        << QStringList{u"ttyUSB0=file"_s, u"ttyUSB1=dir"_s, u"ttyUSB2=pty"_s, u"ttyUSB3=->ttyUSB9"_s}
        << QStringList{u"ttyUSB2"_s};
    QTest::newRow("names that only look alike")
        << QStringList{u"ttyUSB=pty"_s, u"ttyUSBx=pty"_s, u"ttyAMA0=pty"_s, u"tty0=pty"_s, u"ttyS1a=pty"_s}
        << QStringList{};
    QTest::newRow("by-id links first, dangling ones left out")
        << QStringList{u"ttyUSB0=pty"_s, u"serial/by-id/usb-cam-if00=->../../ttyUSB0"_s,
                       u"serial/by-id/usb-gone-if00=->../../ttyUSB9"_s}
        << QStringList{u"serial/by-id/usb-cam-if00"_s, u"ttyUSB0"_s};
    QTest::newRow("ttyS without a port behind it")
        << QStringList{u"ttyS0=pty"_s, u"ttyS1=pty"_s, u"ttyS0=type:4"_s, u"ttyS1=type:0"_s}
        << QStringList{u"ttyS0"_s};
    QTest::newRow("nothing there") << QStringList{} << QStringList{};
}

void TstDevices::scan()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expected);
    QTemporaryDir root;
    PtyPeer pty;
    QVERIFY(build(root.path(), entries, pty));
    QStringList found;
    for (const std::string &path : SerialDevices::scan(rootsIn(root.path())))
        found << q(path).mid(root.path().size() + 5); // without "<root>/dev/"
    QCOMPARE(found, expected);
    // A folder that is not there lists nothing and does not fail.
    QVERIFY(SerialDevices::scan({root.path().toStdString() + "/none", "/none"}).empty());
}

void TstDevices::openErrorHelp_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("device"); // under <root>/dev, or an absolute path
    QTest::addColumn<int>("err");
    QTest::addColumn<QStringList>("says");
    const QStringList oneDevice{u"ttyUSB0=pty"_s, u"ttyUSB1=pty"_s};
    QTest::newRow("missing, devices present")
        << oneDevice << u"ttyUSB5"_s << ENOENT
        << QStringList{u"no such device"_s, u"Serial devices present: <dev>/ttyUSB0, <dev>/ttyUSB1."_s};
    QTest::newRow("missing, nothing present")
        << QStringList{} << u"ttyUSB5"_s << ENOENT
        << QStringList{u"no such device"_s, u"No serial device is present"_s};
    QTest::newRow("no port behind the device")
        << oneDevice << u"ttyS3"_s << EIO
        << QStringList{u"no port answers behind it"_s, u"<dev>/ttyUSB0"_s};
    QTest::newRow("regular file")
        << QStringList{u"camera.dat=file"_s} << u"camera.dat"_s << ENOTTY
        << QStringList{u"<dev>/camera.dat is a regular file, not a serial device"_s};
    QTest::newRow("folder")
        << QStringList{u"serial=dir"_s} << u"serial"_s << EISDIR
        << QStringList{u"<dev>/serial is a folder, not a serial device"_s, u"No serial device is present"_s};
    QTest::newRow("other kind of device")
        << oneDevice << u"/dev/null"_s << ENOTTY
        << QStringList{u"/dev/null is not a serial device"_s, u"<dev>/ttyUSB1"_s};
    QTest::newRow("nothing to add") << QStringList{} << u"ttyUSB0"_s << EINVAL << QStringList{};
}

void TstDevices::openErrorHelp()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, device);
    QFETCH(int, err);
    QFETCH(QStringList, says);
    QTemporaryDir root;
    PtyPeer pty;
    QVERIFY(build(root.path(), entries, pty));
    const QString dev = root.path() + u"/dev"_s;
    QDir().mkpath(dev);
    const QString path = device.startsWith(u'/') ? device : dev + u'/' + device;
    const QString help = q(::openErrorHelp(path.toStdString(), err, rootsIn(root.path())));
    if (says.isEmpty())
        QCOMPARE(help, QString());
    for (QString s : says)
        QVERIFY2(help.contains(s.replace(u"<dev>"_s, dev), Qt::CaseInsensitive), qPrintable(help));
}

void TstDevices::permissionHelp_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("owningGroup"); // "own": a group this process has; "foreign": one it lacks
    QTest::addColumn<QStringList>("says");
    QTest::addColumn<QString>("neverSays");
    gid_t gid = 0;
    const QString foreign = foreignGroup(&gid);
    QTest::newRow("group may read and write: join it")
        << 0660 << u"foreign"_s
        << QStringList{u"Only members of the group \"%1\""_s.arg(foreign), u"sudo usermod -aG %1 $USER"_s.arg(foreign)}
        << u"udev"_s;
    QTest::newRow("group may only read: owner only")
        << 0640 << u"foreign"_s << QStringList{u"allows only its owner"_s, u"udev rule"_s} << u"usermod"_s;
    QTest::newRow("no group rights: owner only")
        << 0600 << u"foreign"_s << QStringList{u"allows only its owner"_s, u"KERNEL==\"tty"_s} << u"usermod"_s;
    QTest::newRow("already in the group")
        << 0660 << u"own"_s << QStringList{u"already belongs to the group"_s} << u"usermod"_s;
}

void TstDevices::permissionHelp()
{
    // The tests run as root, whom permissions never stop: the help is asked for with the
    // errno a user would get, over a file of the chosen mode and group.
    QFETCH(int, mode);
    QFETCH(QString, owningGroup);
    QFETCH(QStringList, says);
    QFETCH(QString, neverSays);
    QTemporaryDir root;
    const std::string path = root.path().toStdString() + "/ttyUSB0";
    QVERIFY(::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0600)) == 0);
    gid_t gid = getegid();
    if (owningGroup == u"foreign")
        foreignGroup(&gid);
    if (::chown(path.c_str(), geteuid(), gid) != 0)
        QSKIP("cannot give the file to another group");
    QVERIFY(::chmod(path.c_str(), mode_t(mode)) == 0);
    for (int err : {EACCES, EPERM}) {
        const QString help = q(::openErrorHelp(path, err));
        for (const QString &s : says)
            QVERIFY2(help.contains(s), qPrintable(help));
        QVERIFY2(!help.contains(neverSays), qPrintable(help));
    }
}

void TstDevices::busyNamesTheHolder()
{
    // The port held open by this process, as the tool holds it: a second open is refused,
    // and the help names this process.
    PtyPeer pty;
    PortMap::setPath(3, pty.path().toStdString());
    TComm holder;
    holder.setPort(3);
    holder.Open();
    TComm second;
    second.setPort(3);
    QString message;
    try {
        second.Open();
    } catch (const ECommOpenError &e) {
        message = QString::fromUtf8(e.what());
    }
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15);
    QVERIFY2(message.contains(u"Another program holds %1: %2 (process %3)."_s.arg(pty.path(), name).arg(getpid())),
             qPrintable(message));
    holder.Close();
    const QString none = q(::openErrorHelp(pty.path().toStdString(), EBUSY));
    QVERIFY2(none.contains(u"could not be named"_s), qPrintable(none));
    PortMap::setPath(3, {});
}

QTEST_GUILESS_MAIN(TstDevices)
#include "tst_devices.moc"
