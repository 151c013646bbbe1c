#include "support/TestPreferences.h"

#include "app/Preferences.h"

#include <QTemporaryDir>

void TestPreferences::installFresh()
{
    static QTemporaryDir folder;
    static int generation = 0;
    const QString path = folder.filePath(QStringLiteral("Zorvel-%1.conf").arg(++generation));
    Preferences::installStandard(std::make_unique<Preferences>(path));
    setTimeout(200000);
}

void TestPreferences::setTimeout(int microseconds)
{
    Preferences::standard().setObject(microseconds, QStringLiteral("Timeout"));
}
