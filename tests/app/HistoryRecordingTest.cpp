// What the main window's refreshes leave in the history of servers, and what the user
// is told of a history file found damaged at start.
#include "MainWindowFixture.h"

#include "peers/GameServerPeer.h"
#include "platform/Preferences.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

QByteArray statusWithPlayer(const QByteArray& hostName, const QByteArray& playerName)
{
    return GameServerPeer::statusDatagram("\\sv_hostname\\" + hostName + "\\mapname\\mp_harbor\\sv_maxclients\\18"
                                          "\\gamename\\Call of Duty 2\n0 40 \"" + playerName + "\"\n");
}

class HistoryRecording : public MainWindowFixture {
protected:
    // Asks the question, handing it what takes the answer, and waits for the answer.
    template <typename Answer>
    static Answer waitForAnswer(const std::function<void(std::function<void(const Answer&)>)>& ask)
    {
        std::optional<Answer> answer;
        ask([&answer](const Answer& given) { answer = given; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 120000); }();
        return answer.value_or(Answer());
    }

    QList<PlayerCount> playersOverTime(const QString& address) const
    {
        return waitForAnswer<QList<PlayerCount>>([&](auto give) {
            controller->history().playersOverTime(address, 0, controller.get(), give);
        });
    }

    QList<Sighting> lastSightings(const QString& text) const
    {
        return waitForAnswer<QList<Sighting>>([&](auto give) {
            controller->history().lastSightings(text, 10, controller.get(), give);
        });
    }
};

}  // namespace

TEST_F(HistoryRecording, everyAnsweredRefreshOfAFavouriteIsRecordedWithItsPlayers)
{
    GameServerPeer answering;
    answering.setStatusAnswer({statusWithPlayer("Recorded", "^1Hist^7Bob")});
    GameServerPeer silent;
    silent.setSilent(true);
    const QString address = QString::fromLatin1(answering.address());
    startWith({server("Recorded", address), server("Silent", QString::fromLatin1(silent.address()))});

    select(0);
    clickButton("refreshServerButton");
    clickButton("refreshAllServersButton");
    waitForTheRunToEnd();

    const QList<PlayerCount> counts = playersOverTime(address);
    ASSERT_EQ(counts.size(), 2) << "the single refresh and the run's";
    EXPECT_EQ(counts.last().players, 1);
    EXPECT_EQ(counts.last().maxPlayers, 18);
    EXPECT_EQ(counts.last().map, "mp_harbor");
    EXPECT_TRUE(playersOverTime(QString::fromLatin1(silent.address())).isEmpty()) << "no answer, nothing recorded";
    const QList<Sighting> bob = lastSightings("histbob");
    ASSERT_EQ(bob.size(), 1) << "one stay over both answers";
    EXPECT_EQ(bob.first().rawName, "^1Hist^7Bob");
    EXPECT_EQ(bob.first().address, address);
    EXPECT_EQ(bob.first().serverName, "Recorded");
}

// At start the history is pruned as the settings say: each source by its own days.
TEST_F(HistoryRecording, theStartPrunesTheHistoryByTheRetentionOfTheSettings)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const auto answer = [now](const QString& address, int daysAgo, ServerAnswer::Source source) {
        ServerAnswer old;
        old.time = now - daysAgo * 24 * 3600;
        old.address = address;
        old.source = source;
        return old;
    };
    {
        HistoryDatabase database(HistoryStore::defaultPath());
        ASSERT_NE(database.open(), HistoryDatabase::Opening::Failed);
        ASSERT_EQ(database.write({answer("10.9.0.1:28960", 20, ServerAnswer::Source::Scan),
                                  answer("10.9.0.2:28960", 40, ServerAnswer::Source::Scan),
                                  answer("10.9.0.3:28960", 40, ServerAnswer::Source::Favourite)}),
                  HistoryDatabase::Writing::Written);
    }
    Preferences::standard().setObject(30, "History days for scans");
    startWith({});
    EXPECT_EQ(playersOverTime("10.9.0.1:28960").size(), 1) << "within the 30 days the settings give scans";
    EXPECT_TRUE(playersOverTime("10.9.0.2:28960").isEmpty());
    EXPECT_EQ(playersOverTime("10.9.0.3:28960").size(), 1) << "within a favourite's 90 days";
}

TEST_F(HistoryRecording, aDamagedHistoryIsKeptAsideAndToldOnceAndANewOneRecords)
{
    const QString path = HistoryStore::defaultPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path + "-wal");
    QFile::remove(path + "-shm");
    {
        QFile damaged(path);
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write(QByteArray(20000, '\x7f'));
    }
    GameServerPeer answering;
    answering.setStatusAnswer({statusWithPlayer("After damage", "Phoenix")});
    startWith({server("After damage", QString::fromLatin1(answering.address()))});

    const auto historyAlerts = [this] {
        QList<RecordingAlerts::Shown> found;
        for (const RecordingAlerts::Shown& shown : alerts->shown())
            if (shown.title == "History of servers")
                found.append(shown);
        return found;
    };
    QTRY_COMPARE_WITH_TIMEOUT(historyAlerts().size(), 1, 120000);
    EXPECT_TRUE(historyAlerts().first().message.contains(path + ".damaged-"));
    EXPECT_TRUE(historyAlerts().first().unasked);

    select(0);
    clickButton("refreshServerButton");
    EXPECT_EQ(playersOverTime(QString::fromLatin1(answering.address())).size(), 1);
    EXPECT_EQ(historyAlerts().size(), 1);
}
