#include "app/FavouritesStore.h"
#include "cli/PrometheusText.h"
#include "cli/ZorvelCommand.h"
#include "peers/GameServerPeer.h"
#include "support/Files.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QByteArray statusOf(const QByteArray& name, const QByteArray& map)
{
    return GameServerPeer::statusDatagram("\\sv_hostname\\" + name + "\\gamename\\Call of Duty 2\\mapname\\" + map
                                          + "\\g_gametype\\ctf\\sv_maxclients\\20\n3 40 \"Bob\"\n");
}

struct Favourite {
    QString name;
    QByteArray address;
    bool nameTyped = false;
};

// Stores the favourites as the window does, names the user typed included.
void storeFavourites(const QList<Favourite>& favourites)
{
    QList<CodServerPtr> servers;
    for (const Favourite& favourite : favourites) {
        const CodServerPtr server = CodServer::create();
        server->setServerName(favourite.name);
        server->setServerIp(QString::fromLatin1(favourite.address));
        server->setServerNameTyped(favourite.nameTyped);
        servers.append(server);
    }
    ASSERT_TRUE(FavouritesStore().store(servers));
}

// A port no one listens on now.
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// The status line and the body of an HTTP GET, read as far as its Content-Length.
std::pair<QByteArray, QByteArray> get(quint16 port, const QByteArray& path)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(30000))
        return {};
    socket.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray reply;
    const auto complete = [&reply] {
        const qsizetype bodyStart = reply.indexOf("\r\n\r\n");
        if (bodyStart < 0)
            return false;
        const QByteArray headers = reply.left(bodyStart).toLower();
        const qsizetype length = headers.indexOf("content-length:");
        const qsizetype lineEnd = headers.indexOf("\r\n", length);
        const int bodyLength = length < 0 ? 0 : headers.mid(length + 15, lineEnd - length - 15).trimmed().toInt();
        return reply.size() >= bodyStart + 4 + bodyLength;
    };
    while (!complete() && socket.waitForReadyRead(30000))
        reply += socket.readAll();
    const qsizetype bodyStart = reply.indexOf("\r\n\r\n");
    return {reply.left(reply.indexOf("\r\n")), bodyStart < 0 ? QByteArray() : reply.mid(bodyStart + 4)};
}

std::vector<PrometheusText::Sample> samplesOf(const QByteArray& metrics)
{
    QString problem;
    const auto samples = PrometheusText::parse(metrics, &problem);
    EXPECT_TRUE(samples.has_value()) << problem.toStdString() << "\n" << metrics.toStdString();
    return samples.value_or(std::vector<PrometheusText::Sample>());
}

std::optional<PrometheusText::Sample> sampleOf(const std::vector<PrometheusText::Sample>& samples,
                                               const QString& name, const QString& address)
{
    for (const PrometheusText::Sample& sample : samples) {
        if (sample.name == name && sample.labels.value("address") == address)
            return sample;
    }
    return std::nullopt;
}

}  // namespace

// Read from the store as the window left them: a favourite that answers shows the
// server's name unless the user typed one, a silent one keeps the name it was stored
// with.
TEST(FavouritesCommandTest, theStoredFavouritesAreRefreshedAndPrintedAsQueryPrintsThem)
{
    ZorvelCommand zorvel;
    GameServerPeer answering;
    answering.setStatusAnswer({statusOf("^3Harbour", "mp_toujane")});
    GameServerPeer named;
    named.setStatusAnswer({statusOf("^2Docks", "mp_carentan")});
    GameServerPeer silent;
    silent.setSilent(true);
    storeFavourites({{"Mine", answering.address()}, {"Our clan", named.address(), true}, {"Gone", silent.address()}});

    const ZorvelCommand::Result result = zorvel.run({"favourites", "--json"});

    EXPECT_EQ(result.status, 1);
    const QList<QJsonObject> lines = result.jsonLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0]["address"].toString(), QString::fromLatin1(answering.address()));
    EXPECT_EQ(lines[0]["name"].toString(), "Harbour");
    EXPECT_EQ(lines[0]["game"].toString(), "cod2");
    EXPECT_EQ(lines[0]["map"].toString(), "mp_toujane");
    EXPECT_EQ(lines[1]["name"].toString(), "Our clan");
    EXPECT_EQ(lines[1]["map"].toString(), "mp_carentan");
    EXPECT_EQ(lines[2]["name"].toString(), "Gone");
    EXPECT_EQ(lines[2]["error"].toString(), "no answer");
}

// /metrics parses as Prometheus text, labels every server with its address and game,
// follows the servers from one refresh to the next, and is all that is served.
TEST(ExporterCommandTest, metricsParseAreRefreshedAndNothingElseIsServed)
{
    ZorvelCommand zorvel;
    GameServerPeer answering;
    answering.setStatusAnswer({statusOf("Quote\" and ^1red", "mp_dawnville")});
    GameServerPeer silent;
    silent.setSilent(true);
    storeFavourites({{"Mine", answering.address()}, {"Gone", silent.address()}});
    const quint16 port = freePort();
    const QString log = zorvel.settingsFolder() + QStringLiteral("/exporter.log");
    const QString mine = QString::fromLatin1(answering.address());

    const auto exporter =
        zorvel.start({"exporter", "--listen", QStringLiteral("127.0.0.1:%1").arg(port), "--interval", "2"}, log);
    const auto mapShown = [port, mine]() -> QString {
        const auto info = sampleOf(samplesOf(get(port, "/metrics").second), "zorvel_server_info", mine);
        return info ? info->labels.value("map") : QString();
    };
    ASSERT_TRUE(QTest::qWaitFor([&log] { return Files::contentOf(log).contains("serving"); }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&mapShown] { return !mapShown().isEmpty(); }, 60000));

    const auto [status, body] = get(port, "/metrics");
    EXPECT_EQ(status, "HTTP/1.1 200 OK");
    const std::vector<PrometheusText::Sample> samples = samplesOf(body);
    EXPECT_EQ(sampleOf(samples, "zorvel_server_up", mine)->value, 1);
    EXPECT_EQ(sampleOf(samples, "zorvel_server_up", mine)->labels.value("game"), "cod2");
    EXPECT_EQ(sampleOf(samples, "zorvel_server_up", QString::fromLatin1(silent.address()))->value, 0);
    EXPECT_EQ(sampleOf(samples, "zorvel_server_players", mine)->value, 1);
    EXPECT_EQ(sampleOf(samples, "zorvel_server_max_players", mine)->value, 20);
    EXPECT_GE(sampleOf(samples, "zorvel_server_ping_seconds", mine)->value, 0);
    const auto info = sampleOf(samples, "zorvel_server_info", mine);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->labels.value("name"), "Quote\" and red");
    EXPECT_EQ(info->labels.value("map"), "mp_dawnville");
    EXPECT_EQ(info->labels.value("gametype"), "ctf");
    EXPECT_FALSE(sampleOf(samples, "zorvel_server_info", QString::fromLatin1(silent.address())));
    EXPECT_TRUE(std::any_of(samples.cbegin(), samples.cend(),
                            [](const auto& s) { return s.name == "zorvel_scrape_duration_seconds"; }));

    answering.setStatusAnswer({statusOf("Renamed", "mp_carentan")});
    EXPECT_TRUE(QTest::qWaitFor([&mapShown] { return mapShown() == "mp_carentan"; }, 60000));
    EXPECT_EQ(get(port, "/").first, "HTTP/1.1 404 Not Found");
    EXPECT_EQ(get(port, "/metrics/../etc/passwd").first, "HTTP/1.1 404 Not Found");
}
