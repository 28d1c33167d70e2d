#include "serial/tcomm.h"
#include "window/form2.h"
#include "window/formtype.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvik"));
    QApplication::setApplicationVersion(QStringLiteral(ORVIK_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Adjusts a CCTV camera module over a serial line."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption com[4] = {
        {QStringLiteral("com1"), QStringLiteral("Device that Com1 opens (default /dev/ttyS0)."), QStringLiteral("path")},
        {QStringLiteral("com2"), QStringLiteral("Device that Com2 opens (default /dev/ttyS1)."), QStringLiteral("path")},
        {QStringLiteral("com3"), QStringLiteral("Device that Com3 opens (default /dev/ttyS2)."), QStringLiteral("path")},
        {QStringLiteral("com4"), QStringLiteral("Device that Com4 opens (default /dev/ttyS3)."), QStringLiteral("path")},
    };
    for (const auto &o : com)
        parser.addOption(o);
    QCommandLineOption formType(QStringLiteral("form-type"),
                                QStringLiteral("Pages shown: all, user, factory, tool or debug (default user)."),
                                QStringLiteral("type"), QStringLiteral("user"));
    parser.addOption(formType);
    parser.process(app);

    for (int i = 0; i < 4; ++i) {
        if (parser.isSet(com[i]))
            PortMap::setPath(i + 1, parser.value(com[i]).toStdString());
    }
    const int type = formTypeFromName(parser.value(formType));
    if (type < 0) {
        std::fprintf(stderr, "orvik: unknown form type '%s' (all, user, factory, tool, debug)\n",
                     qPrintable(parser.value(formType)));
        return 2;
    }

    TForm2 chooser(type);
    chooser.show();
    return app.exec();
}
