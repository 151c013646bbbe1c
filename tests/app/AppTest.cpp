#include "AppTest.h"

#include "app/Preferences.h"
#include "model/ServerArchive.h"
#include "support/TestPreferences.h"

#include <QSettings>

void AppTest::SetUp()
{
    TestPreferences::installFresh();
    alerts = &RecordingAlerts::install();
    desktop = &RecordingDesktop::install();
}

CodServerPtr AppTest::server(const QString& name, const QString& ip, const QString& pass)
{
    CodServerPtr record = CodServer::create();
    record->setServerName(name);
    record->setServerIp(ip);
    record->setServerPass(pass);
    return record;
}

void AppTest::storeFavourites(const QList<CodServerPtr>& servers)
{
    Preferences::standard().setObject(ServerArchive::archiveServerList(servers), QStringLiteral("myServers"));
}

QByteArray AppTest::storedFavourites()
{
    return QSettings(Preferences::standard().filePath(), QSettings::IniFormat).value("myServers").toByteArray();
}

QStringList AppTest::keysInFile()
{
    return QSettings(Preferences::standard().filePath(), QSettings::IniFormat).allKeys();
}
