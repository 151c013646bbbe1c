// What the main window's refreshes leave in the history of servers, and what the user
// is told of a history file found damaged at start.
#include "MainWindowFixture.h"

#include "peers/GameServerFarm.h"
#include "peers/GameServerPeer.h"
#include "peers/MasterServerPeer.h"
#include "platform/Preferences.h"
#include "support/TestPreferences.h"

#include <QAction>
#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>
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

    // The server's recorded answers, read on the history's thread once every answer
    // recorded before is written.
    QList<PlayerCount> playersOverTime(const QString& address) const
    {
        QList<PlayerCount> counts;
        bool asked = false;
        controller->history().run(
            [&counts, address](HistoryDatabase& database) { counts = database.playersOverTime(address, 0); },
            controller.get(), [&asked] { asked = true; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(asked, 120000); }();
        return counts;
    }

    QList<Sighting> lastSightings(const QString& text) const
    {
        return waitForAnswer<QList<Sighting>>([&](auto give) {
            controller->history().lastSightings(text, 10, controller.get(), give);
        });
    }

    // The numbers the statement gives on the history's thread, once every answer
    // recorded before is written.
    QList<qint64> numbersOf(const QString& statement) const
    {
        QList<qint64> numbers;
        bool asked = false;
        controller->history().run(
            [&numbers, statement](HistoryDatabase& database) {
                QSqlQuery query(database.connection());
                EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
                if (!query.next())
                    return;
                for (int field = 0; field < query.record().count(); ++field)
                    numbers.append(query.value(field).toLongLong());
            },
            controller.get(), [&asked] { asked = true; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(asked, 120000); }();
        return numbers;
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

// The answers of a scan reach the history from the scan's engine while it runs, and
// are written in batches: each answering server once, with every player it listed.
TEST_F(HistoryRecording, aMasterScanRecordsEachAnsweringServerOnceWithItsPlayers)
{
    using namespace std::chrono_literals;
    GameServerFarm farm(GameServerFarm::generate(400, {.seed = 5, .silentFraction = 0.1, .maximumDelay = 3ms}));
    MasterServerPeer master;
    master.setAnswer(MasterServerPeer::listDatagrams(farm.masterRecords(), 110));
    TestPreferences::setTimeout(100000);
    TestPreferences::pointMaster("CoD", master.port());
    start();

    control<QAction>("scan-cod").trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!controller->masterIsRefreshing(0), 120000);

    qint64 players = 0;
    QByteArray aPlayer;
    for (int index = 0; index < farm.size(); ++index) {
        if (farm.server(index).answer != GameServerFarm::Answer::Status)
            continue;
        players += farm.server(index).players.size();
        aPlayer = farm.server(index).players.value(0, aPlayer);
    }
    const auto answering = qint64(farm.answeringAddresses().size());
    ASSERT_GT(players, answering) << "servers with several players";
    // Scans' answers and stays, whatever earlier tests recorded beside them.
    EXPECT_EQ(numbersOf("SELECT count(*), count(DISTINCT server), sum(players) FROM answers WHERE source = 1"),
              (QList<qint64>{answering, answering, players}));
    EXPECT_EQ(numbersOf("SELECT count(*), count(DISTINCT raw_name) FROM stays WHERE source = 1"),
              (QList<qint64>{players, players}));
    const QList<Sighting> seen = lastSightings(CodServer::clearColoredName(QString::fromLatin1(aPlayer)));
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen.first().rawName, QString::fromLatin1(aPlayer));
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
