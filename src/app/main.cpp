#include "serial/tcomm.h"
#include "window/form1.h"
#include "window/form2.h"
#include "window/formtype.h"
#include "window/remembered.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int kUsageError = 2;

void nameApplication()
{
    // The names also name the settings store (~/.config/orvik/orvik.conf).
    QCoreApplication::setOrganizationName(u"orvik"_s);
    QCoreApplication::setApplicationName(u"orvik"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVIK_VERSION));
}

QString comOption(int port)
{
    return u"com%1"_s.arg(port);
}

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(u"Adjusts a CCTV camera module over a serial line."_s);
    parser.addHelpOption();
    parser.addVersionOption();
    for (int port = 1; port <= 4; ++port)
        parser.addOption({comOption(port),
                          u"Device that Com%1 opens (default /dev/ttyS%2, or the one chosen last time)."_s.arg(port).arg(port - 1),
                          u"path"_s});
    parser.addOption({u"form-type"_s, u"Pages shown: all, user, factory, tool or debug (default user)."_s,
                      u"type"_s, u"user"_s});
    parser.addOption({u"trace"_s, u"Also write every frame the main window sends and receives to this file."_s,
                      u"file"_s});
}

void printError(const QString &text)
{
    std::fprintf(stderr, "orvik: %s\n", text.toLocal8Bit().constData());
}

// The window system's own options, which QApplication takes out of the command line.
bool isWindowSystemOption(const QString &name)
{
    static const QStringList names = {
        u"platform"_s, u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s, u"qmljsdebugger"_s,
        u"qwindowgeometry"_s, u"qwindowicon"_s, u"qwindowtitle"_s, u"reverse"_s, u"session"_s,
        u"display"_s, u"geometry"_s, u"name"_s, u"title"_s, u"visual"_s, u"ncols"_s, u"cmap"_s,
        u"nograb"_s, u"dograb"_s, u"sync"_s, u"style"_s, u"stylesheet"_s, u"widgetcount"_s,
        u"testability"_s};
    return names.contains(name);
}

// Reads the options before any window system is needed, so that help, version and
// mistakes are answered on a machine without a display. Returns the exit code, or -1 to go
// on.
int checkOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    addOptions(parser);
    // One dash and a word is one option here, so that "-platform" is seen as itself.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(u"help-all"_s))
        parser.process(arguments); // prints and exits
    if (parser.isSet(u"help"_s)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(u"version"_s)) {
        std::printf("orvik %s\n", ORVIK_VERSION);
        return 0;
    }
    QStringList unknown = parser.unknownOptionNames();
    unknown.removeIf(isWindowSystemOption);
    if (!unknown.isEmpty()) {
        printError(u"unknown option '%1' (see orvik --help)"_s.arg(unknown.constFirst()));
        return kUsageError;
    }
    if (!parsed && parser.unknownOptionNames().isEmpty()) {
        printError(parser.errorText());
        return kUsageError;
    }
    for (int port = 1; port <= 4; ++port) {
        if (parser.isSet(comOption(port)) && parser.value(comOption(port)).trimmed().isEmpty()) {
            printError(u"--%1 needs a device path, for example --%1 /dev/ttyUSB0"_s.arg(comOption(port)));
            return kUsageError;
        }
    }
    if (parser.isSet(u"trace"_s) && parser.value(u"trace"_s).trimmed().isEmpty()) {
        printError(u"--trace needs a file name, for example --trace frames.txt"_s);
        return kUsageError;
    }
    if (formTypeFromName(parser.value(u"form-type"_s)) < 0) {
        printError(u"unknown form type '%1' (all, user, factory, tool, debug)"_s.arg(parser.value(u"form-type"_s)));
        return kUsageError;
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    {
        QCoreApplication probe(argc, argv);
        nameApplication();
        if (const int code = checkOptions(QCoreApplication::arguments()); code >= 0)
            return code;
    }

    QApplication app(argc, argv);
    nameApplication();
    QGuiApplication::setDesktopFileName(u"orvik"_s);
    QApplication::setQuitOnLastWindowClosed(false);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(u":/icons/orvik-%1.png"_s.arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    QCommandLineParser parser;
    addOptions(parser);
    parser.process(app);

    // The devices chosen last time, unless the command line names one.
    Remembered::loadPortDevices();
    for (int port = 1; port <= 4; ++port) {
        if (parser.isSet(comOption(port)))
            PortMap::setPath(port, parser.value(comOption(port)).trimmed().toStdString());
    }

    if (parser.isSet(u"trace"_s))
        TForm1::setTraceFile(parser.value(u"trace"_s));

    TForm2 chooser(formTypeFromName(parser.value(u"form-type"_s)));
    chooser.show();
    return app.exec();
}
