// orvik-camsim: the camera module on a pseudo-terminal. See --help.

#include "cli.h"
#include "ptycamera.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <tuple>

#include <pthread.h>

using namespace Qt::StringLiterals;

namespace {

void printErr(const QString &text)
{
    std::fprintf(stderr, "orvik-camsim: %s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    // The quit signals are taken with sigwait() below; block them before any thread starts so
    // that no thread is interrupted by them.
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGINT);
    sigaddset(&quit, SIGTERM);
    sigaddset(&quit, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &quit, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"orvik-camsim"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVIK_VERSION));

    const camsim::CommandLine cl = camsim::parseCommandLine(QCoreApplication::arguments());
    if (!cl.error.isEmpty()) {
        printErr(cl.error + u"\nTry 'orvik-camsim --help'."_s);
        return 2;
    }
    if (cl.help) {
        std::fputs(camsim::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (cl.version) {
        std::printf("orvik-camsim %s\n", ORVIK_VERSION);
        return 0;
    }

    camsim::Options options = cl.options;
    options.onOpened = [](const QString &slavePath) {
        std::printf("%s\n", slavePath.toLocal8Bit().constData());
        std::fflush(stdout);
    };
    camsim::PtyCamera camera(options);
    QString error;
    if (!camera.start(&error)) {
        printErr(error);
        return 1;
    }

    const auto [line, id, mode] = camera.withCamera([](camsim::Camera &c) {
        return std::tuple{c.line(), c.id(), c.mode()};
    });
    printErr(u"camera ID %1, %2 mode, %3 baud, %4 stop bit(s)%5"_s
                 .arg(id)
                 .arg(mode == camsim::CommMode::OneToN ? u"1:N"_s : u"1:1"_s)
                 .arg(line.baud)
                 .arg(line.stopBits)
                 .arg(cl.options.linkPath.isEmpty() ? QString() : u", linked as "_s + cl.options.linkPath));

    int signal = 0;
    sigwait(&quit, &signal);

    if (!camera.stop(&error)) {
        printErr(error);
        return 1;
    }
    return 0;
}
