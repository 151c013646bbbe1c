// The main of every test executable: a QApplication on the offscreen platform, a
// private preference file and data folder, the alert and notification recorders and
// a desktop where no game is installed and nothing is started, then GoogleTest.
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/RecordingNotifications.h"
#include "support/TestPreferences.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The history of servers, and whatever else goes in the user's data folder, stays
    // in a folder of the run's own.
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    TestPreferences::installFresh();
    RecordingAlerts::install();
    RecordingNotifications::install();
    RecordingDesktop::install();
    return RUN_ALL_TESTS();
}
