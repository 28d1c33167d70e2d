// What the tool keeps between runs, and the main window's first size: the device chosen for
// a port in the chooser, and the main window's size.
#include "serial/tcomm.h"
#include "support/scripteddialogs.h"
#include "window/form1.h"
#include "window/form2.h"
#include "window/geometry.h"
#include "window/remembered.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QScrollArea *currentArea(const TForm1 &form)
{
    return qobject_cast<QScrollArea *>(form.PageControl1->currentWidget());
}

// The main window, shown and laid out, without its connection timer.
std::unique_ptr<TForm1> shownForm(int formType)
{
    auto form = std::make_unique<TForm1>(0, formType);
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->connection->PONTimer1->stop();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    QCoreApplication::processEvents();
    return form;
}

// Each way: the page shows whole, or the window already takes all the room the screen has.
QString pageNotWhole(const TForm1 &form)
{
    const QScrollArea *area = currentArea(form);
    const QSize room = form.screen()->availableGeometry().size();
    QString what;
    if (area->horizontalScrollBar()->isVisible() && form.frameGeometry().width() < room.width() - 16)
        what += u"scrolls sideways at width %1; "_s.arg(form.width());
    if (area->verticalScrollBar()->isVisible() && form.frameGeometry().height() < room.height() - 40)
        what += u"scrolls up and down at height %1; "_s.arg(form.height());
    return what;
}

} // namespace

class TstRemembered : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void chooseDevice_data();
    void chooseDevice();
    void chooserShowsEachPortsDevice();
    void firstOpenShowsThePageWhole_data();
    void firstOpenShowsThePageWhole();
    void sizeShowingWholeKeepsToTheRoom_data();
    void sizeShowingWholeKeepsToTheRoom();
    void windowSizeIsRemembered_data();
    void windowSizeIsRemembered();

private:
    QTemporaryDir settingsDir_;
};

void TstRemembered::initTestCase()
{
    QVERIFY(settingsDir_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
}

void TstRemembered::init()
{
    QCoreApplication::setOrganizationName(u"orvik"_s);
    QCoreApplication::setApplicationName(u"orvik"_s);
    QSettings().clear();
    for (int port = 1; port <= 4; ++port)
        PortMap::setPath(port, {});
}

void TstRemembered::chooseDevice_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opens");     // the device Com2 opens afterwards
    QTest::addColumn<bool>("keeps");        // whether the program keeps settings at all
    const QString camera = u"/tmp/orvik-test-camera"_s;
    QTest::newRow("picked from the list") << u"list"_s << camera << camera << true;
    QTest::newRow("typed, then Enter") << u"enter"_s << camera << camera << true;
    QTest::newRow("typed, then GO") << u"go"_s << camera << camera << true;
    QTest::newRow("typed with spaces around") << u"enter"_s << u"  /dev/pts/9 "_s << u"/dev/pts/9"_s << true;
    QTest::newRow("emptied: back to the default") << u"enter"_s << QString() << u"/dev/ttyS1"_s << true;
    QTest::newRow("a program that keeps nothing") << u"enter"_s << camera << camera << false;
}

void TstRemembered::chooseDevice()
{
    QFETCH(QString, how);
    QFETCH(QString, typed);
    QFETCH(QString, opens);
    QFETCH(bool, keeps);
    ScriptedDialogs dialogs;
    Remembered::savePortDevice(2, u"/dev/ttyUSB4"_s);
    Remembered::loadPortDevices();
    if (!keeps)
        QCoreApplication::setOrganizationName(QString());

    TForm2 chooser(1);
    chooser.Com_Port->setItemIndex(1);
    QComboBox *device = chooser.Com_Port_Device;
    QCOMPARE(device->currentText(), u"/dev/ttyUSB4"_s);
    if (how == u"list") {
        device->addItem(typed);
        device->setCurrentIndex(device->count() - 1);
        emit device->activated(device->count() - 1);
    } else {
        device->lineEdit()->selectAll();
        QTest::keyClick(device->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(device->lineEdit(), typed);
        if (how == u"enter")
            QTest::keyClick(device->lineEdit(), Qt::Key_Return);
        else
            chooser.Com_Port_Go->click();
    }
    if (TForm1 *form = chooser.mainWindow())
        form->connection->PONTimer1->stop();

    QCOMPARE(QString::fromStdString(PortMap::path(2)), opens);
    QCOMPARE(chooser.Com_Port_Path->text(), opens);
    QCOMPARE(device->currentText(), opens);
    QCOMPARE(PortMap::path(1), std::string("/dev/ttyS0"));
    if (how == u"go")
        QCOMPARE(chooser.mainWindow()->windowTitle(), u"Orvik Com2"_s);

    // The next run.
    QCoreApplication::setOrganizationName(u"orvik"_s);
    PortMap::setPath(2, {});
    Remembered::loadPortDevices();
    QCOMPARE(QString::fromStdString(PortMap::path(2)), keeps ? opens : u"/dev/ttyUSB4"_s);
}

void TstRemembered::chooserShowsEachPortsDevice()
{
    ScriptedDialogs dialogs;
    PortMap::setPath(3, "/dev/ttyACM0");
    TForm2 chooser(1);
    QCOMPARE(chooser.Com_Port_Device->currentText(), u"/dev/ttyS0"_s);
    chooser.Com_Port->setItemIndex(2);
    QCOMPARE(chooser.Com_Port_Device->currentText(), u"/dev/ttyACM0"_s);
    chooser.Com_Port_Refresh->click();
    QCOMPARE(chooser.Com_Port_Device->currentText(), u"/dev/ttyACM0"_s);
    chooser.Com_Port->setItemIndex(3);
    QCOMPARE(chooser.Com_Port_Device->currentText(), u"/dev/ttyS3"_s);
    QCOMPARE(chooser.Com_Port_Path->text(), u"/dev/ttyS3"_s);
    // Looking does not choose: nothing is remembered.
    QVERIFY(QSettings().allKeys().isEmpty());
}

void TstRemembered::firstOpenShowsThePageWhole_data()
{
    QTest::addColumn<int>("formType");
    QTest::newRow("User: EASY") << 1;
    QTest::newRow("Factory") << 2;
    QTest::newRow("Tool") << 3;
}

void TstRemembered::firstOpenShowsThePageWhole()
{
    QFETCH(int, formType);
    ScriptedDialogs dialogs;
    const auto form = shownForm(formType);
    QVERIFY(form);
    QCOMPARE(pageNotWhole(*form), QString());
    QVERIFY(form->frameGeometry().width() <= form->screen()->availableGeometry().width());
    QVERIFY(form->frameGeometry().height() <= form->screen()->availableGeometry().height());
    QCOMPARE(form->pos(), QPoint(0, 0));
}

void TstRemembered::sizeShowingWholeKeepsToTheRoom_data()
{
    QTest::addColumn<QSize>("room");
    QTest::newRow("a large screen") << QSize(4000, 3000);
    QTest::newRow("a narrow screen") << QSize(760, 3000);
    QTest::newRow("a low screen") << QSize(4000, 400);
}

void TstRemembered::sizeShowingWholeKeepsToTheRoom()
{
    QFETCH(QSize, room);
    ScriptedDialogs dialogs;
    const auto form = shownForm(1);
    QVERIFY(form);
    QScrollArea *area = currentArea(*form);
    form->resize(form->minimumSizeHint());
    QCoreApplication::processEvents();
    const QSize size = sizeShowingWhole(form.get(), area, room);
    QVERIFY2(size.width() <= room.width() && size.height() <= room.height(), qPrintable(u"%1x%2"_s.arg(size.width()).arg(size.height())));
    form->resize(size);
    QCoreApplication::processEvents();
    const QSize sheet = area->widget()->sizeHint();
    // Where the room allows, the page shows whole that way.
    QCOMPARE(area->horizontalScrollBar()->isVisible(), size.width() == room.width() && area->viewport()->width() < sheet.width());
    QCOMPARE(area->verticalScrollBar()->isVisible(), size.height() == room.height() && area->viewport()->height() < sheet.height());
    if (room.width() > 2000)
        QVERIFY(!area->horizontalScrollBar()->isVisible());
    if (room.height() > 2000)
        QVERIFY(!area->verticalScrollBar()->isVisible());
    // A window already larger is never made smaller.
    const QSize large = size + QSize(50, 50);
    form->resize(large);
    QCoreApplication::processEvents();
    const QSize kept = sizeShowingWhole(form.get(), area, room);
    QVERIFY(kept.width() >= large.width() && kept.height() >= large.height());
}

void TstRemembered::windowSizeIsRemembered_data()
{
    QTest::addColumn<QSize>("left");      // the size the user left the window at
    QTest::addColumn<bool>("boundedByScreen");
    QTest::newRow("a size that fits") << QSize(740, 460) << false;
    QTest::newRow("larger than the screen") << QSize(9000, 7000) << true;
}

void TstRemembered::windowSizeIsRemembered()
{
    QFETCH(QSize, left);
    QFETCH(bool, boundedByScreen);
    ScriptedDialogs dialogs;
    {
        QPointer<TForm1> form = new TForm1(0, 1);
        form->connection->PONTimer1->stop();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->resize(left);
        QCOMPARE(form->size(), left);
        form->close();
        QTRY_VERIFY(!form);
    }
    const auto again = shownForm(1);
    QVERIFY(again);
    const QSize room = again->screen()->availableGeometry().size();
    if (boundedByScreen)
        QVERIFY(again->width() <= room.width() && again->height() <= room.height());
    else
        QCOMPARE(again->size(), left);
    // The position is not remembered: the window opens at the top-left corner every time.
    QCOMPARE(again->pos(), QPoint(0, 0));
}

QTEST_MAIN(TstRemembered)
#include "tst_remembered.moc"
