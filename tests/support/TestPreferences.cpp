#include "support/TestPreferences.h"

#include "platform/Preferences.h"

#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

QString newPath(const QString& pattern)
{
    static QTemporaryDir folder;
    static int generation = 0;
    return folder.filePath(pattern.arg(++generation));
}

}  // namespace

void TestPreferences::installFresh()
{
    Preferences::installStandard(std::make_unique<Preferences>(newPath(QStringLiteral("Zorvel-%1.conf"))));
    setTimeout(200000);
}

void TestPreferences::reopen()
{
    Preferences::installStandard(std::make_unique<Preferences>(Preferences::standard().filePath()));
}

void TestPreferences::installUnwritable()
{
    const QString blocker = newPath(QStringLiteral("not-a-folder-%1"));
    QFile(blocker).open(QIODevice::WriteOnly);
    Preferences::installStandard(std::make_unique<Preferences>(blocker + QStringLiteral("/Zorvel.conf")));
}

void TestPreferences::setTimeout(int microseconds)
{
    // The settings read a time-out outside their range as the default: a test that set
    // one would run with half a second, whatever it meant.
    if (microseconds < 1000 || microseconds > 999999)
        throw std::invalid_argument("a time-out outside the settings' range (1000 to 999999 microseconds)");
    Preferences::standard().setObject(microseconds, QStringLiteral("Timeout"));
}

void TestPreferences::pointMaster(const QString& game, int port)
{
    Preferences::standard().setObject(QStringLiteral("127.0.0.1"), game + QStringLiteral(" Master Server"));
    Preferences::standard().setObject(QString::number(port), game + QStringLiteral(" Master Server Port"));
    // The game's other masters are on the internet: a test asks its local one alone.
    Preferences::standard().setObject(QStringLiteral("[]"), QStringLiteral("Masters ") + game.toLower());
}

void TestPreferences::setSpeed(int serversByThread)
{
    Preferences::standard().setObject(serversByThread, QStringLiteral("Number of servers by thread"));
}
