#include "app/Preferences.h"
#include "model/CodServer.h"
#include "net/MasterListDecoder.h"
#include "net/QuakeProtocol.h"
#include "peers/MasterServerPeer.h"
#include "support/TestPreferences.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Ending = MasterServerPeer::Ending;
constexpr auto listDatagram = &MasterServerPeer::listDatagram;
constexpr auto record = &MasterServerPeer::record;

constexpr int timeoutMicroseconds = 100000;

struct DecodeCase {
    const char* what;
    QByteArray datagram;
    QString addresses;
};

}  // namespace

TEST(MasterListDecoderTest, recordsBecomeDottedAddressesWithUnsignedBigEndianPorts)
{
    const MasterListDecoder::Decoded decoded = MasterListDecoder::decode(listDatagram(
        {record(0x0A000001, 0x71A0), record(0x01020304, 0x6D38), record(0xFFFFFFFF, 0xFFFF), record(0, 0)},
        Ending::EndOfTransmission));
    EXPECT_TRUE(decoded.isListAnswer);
    EXPECT_EQ(decoded.addresses, "10.0.0.1:29088;1.2.3.4:27960;255.255.255.255:65535;0.0.0.0:0;");
}

TEST(MasterListDecoderTest, aDatagramEndsAtItsMarkerAtAPartialRecordOrAtAMissingSeparator)
{
    const QByteArray one = record(0x01020304, 28960);
    const QByteArray two = record(0x05060708, 28961);
    const QByteArray tag = QuakeProtocol::connectionlessHeader + "getserversResponse";
    const QList<DecodeCase> cases = {
        {"end of file alone", listDatagram({}, Ending::EndOfFile), ""},
        {"end of file after records", listDatagram({one}, Ending::EndOfFile), "1.2.3.4:28960;"},
        {"end of transmission alone", listDatagram({}, Ending::EndOfTransmission), ""},
        {"records after the end", listDatagram({one}, Ending::EndOfTransmission) + two, "1.2.3.4:28960;"},
        {"no marker, partial record", listDatagram({one, two}, Ending::None) + "\\abc", "1.2.3.4:28960;5.6.7.8:28961;"},
        {"no marker, record ends the datagram", listDatagram({one}, Ending::None), "1.2.3.4:28960;"},
        {"bytes before the first record", tag + QByteArray("\n\0extra", 7) + one, "1.2.3.4:28960;"},
        {"no separator after a record", tag + one + "Xabcdef" + two, "1.2.3.4:28960;"},
        {"no backslash at all", tag + "\n", ""},
        {"a backslash at the very start is no record", "\\" + tag.mid(1) + one, "1.2.3.4:28960;"},
    };
    for (const DecodeCase& each : cases) {
        const MasterListDecoder::Decoded decoded = MasterListDecoder::decode(each.datagram);
        EXPECT_TRUE(decoded.isListAnswer) << each.what;
        EXPECT_EQ(decoded.addresses, each.addresses) << each.what;
    }
}

TEST(MasterListDecoderTest, onlyTheTagBeforeTheFirstZeroByteMakesAListAnswer)
{
    const QByteArray one = record(0x01020304, 28960);
    const QByteArray header = QuakeProtocol::connectionlessHeader;
    for (const QByteArray& foreign : {header + QByteArray("\0getserversResponse", 19) + one,
                                      header + "statusResponse\n" + one, QByteArray()}) {
        const MasterListDecoder::Decoded decoded = MasterListDecoder::decode(foreign);
        EXPECT_FALSE(decoded.isListAnswer) << foreign.toHex().constData();
        EXPECT_EQ(decoded.addresses, "");
    }
}

class MasterListExchangeTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestPreferences::installFresh();
        TestPreferences::setTimeout(timeoutMicroseconds);
        Preferences::standard().setObject(QStringLiteral("6"), QStringLiteral("CoD Master Server Protocol"));
        master->setServerIp(QString::fromLatin1(peer.address()));
    }

    // The CoD master exchange, and how long it took.
    std::pair<QString, std::chrono::microseconds> fetchList()
    {
        const auto start = std::chrono::steady_clock::now();
        const QString list = master->sendCommandToServer(QStringLiteral(" "), QuakeProtocol::CodMasterList);
        return {list, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)};
    }

    MasterServerPeer peer;
    CodServerPtr master = CodServer::create();
};

TEST_F(MasterListExchangeTest, everyListDatagramIsDecodedInOrderUntilTheMasterFallsSilent)
{
    peer.setAnswer({
        listDatagram({record(0x0A000001, 0x71A0), record(0x0A000002, 28960)}, Ending::EndOfTransmission),
        listDatagram({}, Ending::EndOfFile),
        listDatagram({record(0x0A000003, 0x6D38)}, Ending::EndOfTransmission),
        listDatagram({record(0x0A000001, 0x71A0)}, Ending::EndOfFile),
    });
    const auto [list, took] = fetchList();
    EXPECT_EQ(list, "10.0.0.1:29088;10.0.0.2:28960;10.0.0.3:27960;10.0.0.1:29088;");
    EXPECT_EQ(master->commError(), CodServer::Answered);
    EXPECT_EQ(peer.receivedDatagrams(), QList<QByteArray>{QuakeProtocol::connectionlessHeader + "getservers 6 empty full"});
    // Only a time-out after the last datagram ends the exchange.
    EXPECT_GE(took.count(), timeoutMicroseconds);
}

TEST_F(MasterListExchangeTest, aSilentMasterGivesAnEmptyListAfterOneTimeout)
{
    const auto [list, took] = fetchList();
    EXPECT_EQ(list, "");
    EXPECT_EQ(master->commError(), CodServer::Answered);
    EXPECT_GE(took.count(), timeoutMicroseconds);
}

TEST_F(MasterListExchangeTest, aDatagramThatIsNoListAnswerEndsTheExchangeWithWhatCameBefore)
{
    peer.setAnswer({
        listDatagram({record(0x0A000001, 28960)}, Ending::EndOfTransmission),
        QuakeProtocol::connectionlessHeader + "print\nnot a list",
        listDatagram({record(0x0A000002, 28960)}, Ending::EndOfFile),
    });
    EXPECT_EQ(fetchList().first, "10.0.0.1:28960;");
}

TEST_F(MasterListExchangeTest, aFloodingMasterIsCutOffAfterTheDatagramCap)
{
    peer.setFlooding(true);
    const QString list = fetchList().first;
    peer.stopFlooding();
    EXPECT_EQ(list.count(u';'), MasterListDecoder::maximumDatagrams);
    EXPECT_TRUE(list.startsWith("127.0.0.1:28960;127.0.0.1:28960;"));
    EXPECT_EQ(master->commError(), CodServer::Answered);
}

TEST_F(MasterListExchangeTest, aMasterThatKeepsSendingIsCutOffAfterTwentyTimeouts)
{
    // Every datagram comes well within the time-out: only the cut-off ends the exchange
    // before the datagram cap, which these pauses would reach after two seconds at least.
    TestPreferences::setTimeout(20000);
    peer.setFloodInterval(std::chrono::milliseconds(1));
    peer.setFlooding(true);
    const QString list = fetchList().first;
    peer.stopFlooding();
    EXPECT_GT(list.count(u';'), 0);
    EXPECT_LT(list.count(u';'), MasterListDecoder::maximumDatagrams);
}
