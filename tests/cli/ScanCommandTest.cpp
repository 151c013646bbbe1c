#include "cli/ZorvelCommand.h"
#include "net/MasterListFetch.h"
#include "peers/GameServerFarm.h"
#include "peers/MasterServerPeer.h"
#include "peers/TcpMasterPeer.h"
#include "support/TestPreferences.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QSet<QString> addressesOf(const QList<QJsonObject>& lines)
{
    QSet<QString> addresses;
    for (const QJsonObject& line : lines)
        addresses.insert(line["address"].toString());
    return addresses;
}

QJsonObject summaryOf(const ZorvelCommand::Result& result)
{
    return QJsonDocument::fromJson(result.error.trimmed()).object();
}

class ScanCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        GameServerFarm::Variety variety;
        variety.silentFraction = 0.25;
        farm = std::make_unique<GameServerFarm>(GameServerFarm::generate(40, variety));
        master.setAnswer(MasterServerPeer::listDatagrams(farm->masterRecords(), 15));
    }

    std::unique_ptr<GameServerFarm> farm;
    MasterServerPeer master;
};

}  // namespace

// The master of the preferences is asked, every listed server is queried, the ones
// that answered come one a line, and the counts end the run on standard error.
TEST_F(ScanCommandTest, aScanPrintsTheServersThatAnsweredAndSumsUpOnStandardError)
{
    ZorvelCommand zorvel;
    TestPreferences::pointMaster(QStringLiteral("CoD4"), master.port());

    const ZorvelCommand::Result result = zorvel.run({"scan", "cod4", "--json", "--pace", "2000"});

    EXPECT_EQ(result.status, 0) << result.error.toStdString();
    const QList<QJsonObject> lines = result.jsonLines();
    const QStringList answering = farm->answeringAddresses();
    EXPECT_EQ(addressesOf(lines), QSet<QString>(answering.cbegin(), answering.cend()));
    for (const QJsonObject& line : lines) {
        EXPECT_TRUE(line["up"].toBool());
        EXPECT_EQ(line["game"].toString(), "cod");
        EXPECT_FALSE(line["name"].toString().isEmpty());
    }
    EXPECT_EQ(ZorvelCommand::Result::keysInOrder(result.error.trimmed()),
              QStringList({"listed", "queried", "answered", "wall_s", "masters"}));
    const QJsonObject summary = summaryOf(result);
    EXPECT_EQ(summary["listed"].toInt(), farm->size());
    EXPECT_EQ(summary["queried"].toInt(), farm->size());
    EXPECT_EQ(summary["answered"].toInt(), answering.size());
    EXPECT_GT(summary["wall_s"].toDouble(), 0.0);
    EXPECT_EQ(summary["masters"].toArray().first().toObject()["outcome"].toString(), "listed 40");
    EXPECT_EQ(master.receivedDatagrams(), QList<QByteArray>({"\xff\xff\xff\xffgetservers 4 empty full"}));
}

// tcp:// asks a TCP master with the game's TCP request and reads its stream: for
// cod4, CoD4x's request and entries.
TEST_F(ScanCommandTest, aTcpMasterIsAskedWithCoD4xsRequestAndItsStreamIsRead)
{
    ZorvelCommand zorvel;
    TcpMasterPeer cod4x;
    QList<QByteArray> entries;
    for (int i = 0; i < farm->size(); ++i)
        entries.append(TcpMasterPeer::entry(GameServerFarm::host(i), farm->port()));
    cod4x.setAnswer(TcpMasterPeer::stream(entries), TcpMasterPeer::Ending::Close);

    const ZorvelCommand::Result result = zorvel.run(
        {"scan", "cod4", "--json", "--pace", "2000", "--master", "tcp://127.0.0.1:" + QString::number(cod4x.port())});

    EXPECT_EQ(result.status, 0) << result.error.toStdString();
    const QStringList answering = farm->answeringAddresses();
    EXPECT_EQ(addressesOf(result.jsonLines()), QSet<QString>(answering.cbegin(), answering.cend()));
    EXPECT_EQ(summaryOf(result)["listed"].toInt(), farm->size());
    EXPECT_EQ(cod4x.requests(), QList<QByteArray>{QByteArray("\xff\xff\xff\xffgetservers cod4x 6 full empty \0", 35)});
    EXPECT_TRUE(master.receivedDatagrams().isEmpty());
}

// --master names the one master asked, whatever the preferences say; the table is
// the form for people, and without a terminal no progress line is drawn.
TEST_F(ScanCommandTest, theMasterOfTheCommandLineIsAskedAloneAndTheTableListsTheServers)
{
    ZorvelCommand zorvel;
    MasterServerPeer preferred;
    TestPreferences::pointMaster(QStringLiteral("CoD2"), preferred.port());

    const ZorvelCommand::Result result =
        zorvel.run({"scan", "cod2", "--master", "udp://" + master.address(), "--pace", "2000"});

    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(preferred.receivedDatagrams().isEmpty());
    EXPECT_EQ(master.receivedDatagrams(), QList<QByteArray>({"\xff\xff\xff\xffgetservers 115 empty full"}));
    EXPECT_EQ(result.output.count('\n'), farm->answeringAddresses().size() + 1);
    for (const QString& address : farm->answeringAddresses())
        EXPECT_TRUE(result.output.contains(address.toLatin1() + ' ')) << address.toStdString();
    EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
}

// A master that lists nothing, and one whose host has no address, end with status 3.
TEST(ScanCommandEndTest, aMasterThatGivesNoListEndsWithStatusThree)
{
    ZorvelCommand zorvel;
    MasterServerPeer silent;

    const ZorvelCommand::Result nothing =
        zorvel.run({"scan", "uo", "--json", "--timeout", "200", "--master", silent.address()});
    const ZorvelCommand::Result unknown = zorvel.run({"scan", "uo", "--master", "no-such-master.invalid:20610"});

    EXPECT_EQ(nothing.status, 3);
    EXPECT_TRUE(nothing.output.isEmpty());
    EXPECT_TRUE(nothing.error.contains("the master sent no list")) << nothing.error.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(nothing.error.split('\n').constFirst()).object()["listed"].toInt(-1), 0);
    EXPECT_EQ(unknown.status, 3);
    EXPECT_EQ(unknown.error, "zorvel scan: the master host \"no-such-master.invalid\" was not found\n");
}

// A master that sends far more datagrams than any list has is cut off: the scan
// queries what it read and ends normally.
TEST(ScanCommandEndTest, aMasterThatFloodsIsCutOffAndTheScanEnds)
{
    ZorvelCommand zorvel;
    MasterServerPeer flooding;
    QList<QByteArray> records;
    for (quint32 i = 0; i < 3000; ++i)
        records.append(MasterServerPeer::record((127u << 24 | 3u << 16) + i + 1, 28960));
    flooding.setAnswer(MasterServerPeer::listDatagrams(records, 1));

    const ZorvelCommand::Result result =
        zorvel.run({"scan", "cod", "--json", "--timeout", "100", "--pace", "100000", "--master", flooding.address()});

    EXPECT_EQ(result.status, 0) << result.error.toStdString();
    const QJsonObject summary = summaryOf(result);
    EXPECT_GT(summary["listed"].toInt(), 0);
    EXPECT_LE(summary["listed"].toInt(), MasterListFetch::maximumDatagrams);
    EXPECT_EQ(summary["answered"].toInt(-1), 0);
}
