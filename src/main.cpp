#include "app/MainWindow.h"
#include "app/Zorvel.h"
#include "cli/CommandLine.h"
#include "platform/Preferences.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>

namespace {

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zorvel-%1.png").arg(size), QSize(size, size));
    return icon;
}

// The command line takes --help and --version besides Qt's own options (-platform,
// -style...). The first parse runs before the window system is needed, so both
// answer without a display; once QApplication took its own options out, the second
// refuses any other argument with a message.
void describeCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Game server browser and remote administration\n\n")
                                     + CommandLine::commandsHelp());
    parser.addHelpOption();
    parser.addVersionOption();
}

void answerHelpOrVersion(int argc, char** argv)
{
    QCommandLineParser parser;
    describeCommandLine(parser);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    parser.parse(arguments);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (parser.isSet(QStringLiteral("help"))) {
        // The help names the program as it was called, which it reads from the
        // application object: one without a window system does.
        QCoreApplication withoutDisplay(argc, argv);
        parser.showHelp();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // The organisation and application names place the settings in
    // ~/.config/Zorvel/Zorvel.conf; the desktop file name lets the window manager
    // match the windows to the installed desktop entry and its icon.
    QApplication::setOrganizationName(QStringLiteral("Zorvel"));
    QApplication::setOrganizationDomain(QStringLiteral("zorvel.org"));
    QApplication::setApplicationName(QStringLiteral("Zorvel"));
    QApplication::setApplicationVersion(QStringLiteral(ZORVEL_VERSION));
    // A command runs without the window, the display and the single-instance lock.
    if (CommandLine::namesCommand(argc, argv))
        return CommandLine::run(argc, argv);
    answerHelpOrVersion(argc, argv);
    // Without a display Qt would abort with a core dump.
    if (const std::optional<QString> missing = CommandLine::missingDisplay(argc, argv)) {
        std::fprintf(stderr, "zorvel: %s\n", missing->toLocal8Bit().constData());
        return 1;
    }
    QApplication application(argc, argv);
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(application);
    // One window per settings folder: a later start hands over to the running one.
    SingleInstance instance(QFileInfo(Preferences::defaultFilePath()).absolutePath());
    if (!instance.claim())
        return instance.handOver() ? 0 : 1;
    Q_INIT_RESOURCE(zorvel);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zorvel.Zorvel"));
    QApplication::setWindowIcon(applicationIcon());
    Zorvel controller;
    MainWindow window(controller);
    QObject::connect(&instance, &SingleInstance::secondStart, &window, &MainWindow::comeToFront);
    window.show();
    return application.exec();
}
