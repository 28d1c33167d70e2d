#include "window/remembered.h"

#include "serial/tcomm.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
QString portKey(int port)
{
    return QStringLiteral("ports/com%1").arg(port);
}
} // namespace

namespace Remembered {

std::unique_ptr<QSettings> store()
{
    if (QCoreApplication::organizationName().isEmpty())
        return nullptr;
    return std::make_unique<QSettings>();
}

void loadPortDevices()
{
    const auto settings = store();
    if (!settings)
        return;
    for (int port = 1; port <= 4; ++port) {
        const QString path = settings->value(portKey(port)).toString();
        if (!path.isEmpty())
            PortMap::setPath(port, path.toStdString());
    }
}

void savePortDevice(int port, const QString &path)
{
    const auto settings = store();
    if (!settings)
        return;
    if (path.isEmpty())
        settings->remove(portKey(port));
    else
        settings->setValue(portKey(port), path);
}

} // namespace Remembered
