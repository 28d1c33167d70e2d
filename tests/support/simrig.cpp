#include "simrig.h"

#include "serial/tcomm.h"

#include <QTabWidget>
#include <QTest>

SimRig::SimRig(camsim::Options options, int formType) : camera(std::move(options))
{
    QString error;
    if (!camera.start(&error))
        qFatal("camera simulator: %s", qPrintable(error));
    PortMap::setPath(1, camera.slavePath().toStdString());
    form = new TForm1(0, formType);
    form->show();
}

SimRig::~SimRig()
{
    delete form.data();
    camera.stop();
}

bool SimRig::connectNow()
{
    form->connection->PONTimer1->stop();
    for (int attempt = 0; attempt < 3; ++attempt) {
        form->connection->PONTimer1Timer();
        if (QTest::qWaitFor([&] { return form->connection->PONTimer2->isActive(); }, 3000)) {
            form->connection->PONTimer2->stop();
            form->connection->PONTimer2Timer();
            return waitIdle(2000);
        }
    }
    return false;
}

bool SimRig::openPage(int index)
{
    if (!connectNow())
        return false;
    form->PageControl1->setCurrentIndex(index);
    // Let the page's first read go out before waiting for the chain to end.
    QTest::qWait(20);
    return waitIdle();
}

bool SimRig::waitIdle(int ms)
{
    return QTest::qWaitFor([&] { return form->link.Trans_chk(); }, ms);
}

int SimRig::received(uint8_t category, uint8_t item) const
{
    int n = 0;
    for (const Frame7 &f : camera.received())
        n += f[0] == category && f[1] == item;
    return n;
}
