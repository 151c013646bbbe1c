#include "FinderWindowTest.h"

#include "launch/GameApplications.h"
#include "support/TestPreferences.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>

namespace {

template <class Finder>
Finder& topLevel()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<Finder*>(widget))
            return *found;
    }
    throw std::runtime_error("the finder is not open");
}

}  // namespace

void FinderWindowTest::SetUp()
{
    TestPreferences::installFresh();
    alerts = &RecordingAlerts::install();
    desktop = &RecordingDesktop::install();
    desktop->installApplication(GameApplications::callOfDuty2, cod2Program);
    controller = std::make_unique<Zorvel>();
    window = std::make_unique<MainWindow>(*controller);
    window->show();
}

ServerFinder& FinderWindowTest::openServerFinder() const
{
    control<QAction>(*window, "showFindServerWindow").trigger();
    return topLevel<ServerFinder>();
}

PlayerFinder& FinderWindowTest::openPlayerFinder() const
{
    control<QAction>(*window, "showFindPlayerOrClanPanel").trigger();
    return topLevel<PlayerFinder>();
}

void FinderWindowTest::setScanning(bool codScanRuns) const
{
    controller->setCodMasterIsRefreshing(codScanRuns);
    emit controller->masterScanStarted();
}

QStringList FinderWindowTest::entries(const QComboBox& box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts.append(box.itemText(i));
    return texts;
}

int FinderWindowTest::selectedRow(const QTableView& table)
{
    const QModelIndexList rows = table.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}
