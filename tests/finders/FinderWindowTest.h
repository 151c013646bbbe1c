#pragma once

#include "FinderRecords.h"

#include "app/MainWindow.h"
#include "app/Zorvel.h"
#include "finders/PlayerFinder.h"
#include "finders/ServerFinder.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"
#include "support/TableCells.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <memory>

// The real main window and its controller offscreen, with Call of Duty 2 installed,
// from which the tests open the finders through the menu.
class FinderWindowTest : public testing::Test {
protected:
    static inline const QString cod2Program = QStringLiteral("/games/cod2mp");

    void SetUp() override;

    // Opens a finder through its menu command and returns it.
    ServerFinder& openServerFinder() const;
    PlayerFinder& openPlayerFinder() const;
    // Points the Call of Duty master at the port, makes the scans query at the
    // fastest pace with a short time-out, and opens both finders.
    void openBothFindersOverCodScans(quint16 masterPort);

    static QStringList entries(const QComboBox& box);

    RecordingDesktop* desktop = nullptr;
    std::unique_ptr<Zorvel> controller;
    std::unique_ptr<MainWindow> window;
    ServerFinder* serverFinder = nullptr;
    PlayerFinder* playerFinder = nullptr;
};
