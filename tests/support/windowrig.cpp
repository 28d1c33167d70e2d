#include "windowrig.h"

#include "serial/tcomm.h"

#include <QTabWidget>
#include <QTest>

WindowRig::WindowRig(int formType, int cameraBaud)
{
    peer.answerBaud = cameraBaud;
    PortMap::setPath(1, peer.path().toStdString());
    form = new TForm1(0, formType);
    form->show();
}

WindowRig::~WindowRig()
{
    delete form.data();
}

bool WindowRig::connectNow()
{
    form->PONTimer1->stop();
    for (int attempt = 0; attempt < 3; ++attempt) {
        const qsizetype before = peer.requests.size();
        form->PONTimer1Timer();
        // Give the camera a moment; a wrong speed stays silent.
        if (QTest::qWaitFor([&] { return form->PONTimer2->isActive(); }, 300)) {
            form->PONTimer2->stop();
            form->PONTimer2Timer();
            return true;
        }
        if (peer.requests.size() == before)
            return false;
    }
    return false;
}

void WindowRig::showPage(int index)
{
    form->PageControl1->setCurrentIndex(index);
}
