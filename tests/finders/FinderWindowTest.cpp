#include "FinderWindowTest.h"

#include "launch/GameApplications.h"
#include "support/TestPreferences.h"

#include <QAction>
#include <QApplication>

namespace {

// Triggers the main window's menu command and returns the finder it opened.
template <class Finder>
Finder& openThrough(const MainWindow& window, const char* command)
{
    window.findChild<QAction*>(QString::fromLatin1(command))->trigger();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<Finder*>(widget))
            return *found;
    }
    throw std::runtime_error(QStringLiteral("no finder opened by %1").arg(QLatin1String(command)).toStdString());
}

}  // namespace

void FinderWindowTest::SetUp()
{
    TestPreferences::installFresh();
    RecordingAlerts::install();
    desktop = &RecordingDesktop::install();
    desktop->installApplication(GameApplications::callOfDuty2, cod2Program);
    controller = std::make_unique<Zorvel>();
    window = std::make_unique<MainWindow>(*controller);
    window->show();
}

ServerFinder& FinderWindowTest::openServerFinder() const
{
    return openThrough<ServerFinder>(*window, "showFindServerWindow");
}

PlayerFinder& FinderWindowTest::openPlayerFinder() const
{
    return openThrough<PlayerFinder>(*window, "showFindPlayerOrClanPanel");
}

void FinderWindowTest::openBothFindersOverCodScans(quint16 masterPort)
{
    TestPreferences::setTimeout(300000);
    TestPreferences::pointMaster(QStringLiteral("CoD"), masterPort);
    TestPreferences::setSpeed(25);
    serverFinder = &openServerFinder();
    playerFinder = &openPlayerFinder();
}

QStringList FinderWindowTest::entries(const QComboBox& box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts.append(box.itemText(i));
    return texts;
}
