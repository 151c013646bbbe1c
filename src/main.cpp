#include "app/MainWindow.h"
#include "app/Zorvel.h"

#include <QApplication>
#include <QIcon>

namespace {

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zorvel-%1.png").arg(size), QSize(size, size));
    return icon;
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
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(zorvel);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zorvel.Zorvel"));
    QApplication::setWindowIcon(applicationIcon());
    Zorvel controller;
    MainWindow window(controller);
    window.show();
    return application.exec();
}
