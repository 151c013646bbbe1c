#include "app/MainWindow.h"
#include "app/Zorvel.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication::setOrganizationName(QStringLiteral("Zorvel"));
    QApplication::setApplicationName(QStringLiteral("Zorvel"));
    QApplication application(argc, argv);
    Zorvel controller;
    MainWindow window(controller);
    window.show();
    return application.exec();
}
