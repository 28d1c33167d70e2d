// Renders the windows to PNG files: the chooser, the main window with each shown page,
// and the OSD switch window. No port is opened; no display is needed.
#include "pages/page.h"
#include "widgets/dialogs.h"
#include "window/form1.h"
#include "window/form2.h"
#include "window/form3.h"
#include "window/formtype.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTabWidget>

#include <cstdio>
#include <cstring>

namespace {
// Shots must never wait for a person: boxes and dialogs only print.
class PrintingDialogs : public Dialogs
{
public:
    Answer message(const QString &text, const QString &caption, Buttons) override
    {
        std::fprintf(stderr, "[box %s] %s\n", qPrintable(caption), qPrintable(text));
        return Answer::Ok;
    }
    void exception(const QString &) override {}
    QString openFile(const QString &) override { return {}; }
    QString saveFile(const QString &) override { return {}; }
};

bool save(QWidget *w, const QString &path)
{
    QCoreApplication::processEvents();
    const bool ok = w->grab().save(path, nullptr, 0); // smallest files
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}
} // namespace

int main(int argc, char *argv[])
{
    // Pictures need no display: draw offscreen unless a window system was asked for.
    bool platformGiven = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    for (int i = 1; i < argc; ++i)
        platformGiven = platformGiven || std::strcmp(argv[i], "-platform") == 0;
    if (!platformGiven)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders the Orvik windows to PNG files."));
    parser.addHelpOption();
    QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Folder for the PNG files."),
                           QStringLiteral("dir"), QStringLiteral("shots"));
    QCommandLineOption type(QStringLiteral("form-type"),
                            QStringLiteral("all, user, factory, tool or debug (default debug: every page)."),
                            QStringLiteral("type"), QStringLiteral("debug"));
    QCommandLineOption only(QStringLiteral("page"), QStringLiteral("Only the page with this tab caption."),
                            QStringLiteral("caption"));
    QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Main window size WxH (default 1280x800)."),
                            QStringLiteral("WxH"), QStringLiteral("1280x800"));
    parser.addOptions({out, type, only, size});
    parser.process(app);

    PrintingDialogs dialogs;
    Dialogs::install(&dialogs);
    const QString dir = parser.value(out);
    QDir().mkpath(dir);
    const int formType = std::max(0, formTypeFromName(parser.value(type)));
    const QStringList wh = parser.value(size).split(u'x');
    const int w = wh.value(0).toInt() > 0 ? wh.value(0).toInt() : 1280;
    const int h = wh.value(1).toInt() > 0 ? wh.value(1).toInt() : 800;

    bool ok = true;
    TForm2 chooser(formType);
    chooser.show();
    ok &= save(&chooser, dir + u"/Form2.png");

    auto *form1 = new TForm1(0, formType);
    form1->connection->PONTimer1->stop();
    form1->resize(w, h);
    form1->show();
    for (int i = 0; i < form1->PageControl1->count(); ++i) {
        if (!form1->PageControl1->isTabVisible(i))
            continue;
        const QString caption = form1->PageControl1->tabText(i);
        if (parser.isSet(only) && caption != parser.value(only))
            continue;
        form1->PageControl1->setCurrentIndex(i);
        form1->link.release();
        ok &= save(form1, QStringLiteral("%1/Form1_%2_%3.png").arg(dir).arg(i, 2, 10, QLatin1Char('0')).arg(caption));
    }
    form1->setSwitchWindow(chooser.Form3);
    form1->SW3Click();
    ok &= save(chooser.Form3, dir + u"/Form3.png");
    delete form1;
    Dialogs::install(nullptr);
    return ok ? 0 : 1;
}
