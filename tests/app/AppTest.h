#pragma once

#include "model/CodServer.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingDesktop.h"

#include <QByteArray>
#include <QStringList>

#include <gtest/gtest.h>

// A fresh preference file, alert recorder and desktop for every test of the
// application, with helpers to look into the store.
class AppTest : public testing::Test {
protected:
    void SetUp() override;

    static CodServerPtr server(const QString& name, const QString& ip, const QString& pass = {});
    static void storeFavourites(const QList<CodServerPtr>& servers);
    static QByteArray storedFavourites();
    // The keys written to the preference file, registered defaults excluded.
    static QStringList keysInFile();

    RecordingAlerts* alerts = nullptr;
    RecordingDesktop* desktop = nullptr;
};
