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

}  // namespace

TEST(MasterListDecoderTest, aDatagramEndsAtItsMarkerAtAPartialRecordOrAtAMissingSeparator)
{
    const QByteArray one = record(0x01020304, 28960);
    const QByteArray two = record(0x05060708, 28961);
    const QByteArray header = QuakeProtocol::connectionlessHeader;
    const QByteArray tag = header + "getserversResponse";
    const struct {
        const char* what;
        QByteArray datagram;
        bool isListAnswer;
        QString addresses;
    } cases[] = {
        {"unsigned big-endian ports",
         listDatagram({record(0x0A000001, 0x71A0), record(0xFFFFFFFF, 0xFFFF), record(0, 0)}, Ending::EndOfTransmission),
         true, "10.0.0.1:29088;255.255.255.255:65535;0.0.0.0:0;"},
        {"end of file after records", listDatagram({one}, Ending::EndOfFile), true, "1.2.3.4:28960;"},
        {"records after the end", listDatagram({one}, Ending::EndOfTransmission) + two, true, "1.2.3.4:28960;"},
        {"no marker, partial record", listDatagram({one, two}, Ending::None) + "\\abc", true,
         "1.2.3.4:28960;5.6.7.8:28961;"},
        {"bytes before the first record", tag + QByteArray("\n\0extra", 7) + one, true, "1.2.3.4:28960;"},
        {"no separator after a record", tag + one + "Xabcdef" + two, true, "1.2.3.4:28960;"},
        {"a backslash at the very start is no record", "\\" + tag.mid(1) + one, true, "1.2.3.4:28960;"},
        {"the tag after a zero byte", header + QByteArray("\0getserversResponse", 19) + one, false, ""},
    };
    for (const auto& each : cases) {
        const MasterListDecoder::Decoded decoded = MasterListDecoder::decode(each.datagram);
        EXPECT_EQ(decoded.isListAnswer, each.isListAnswer) << each.what;
        EXPECT_EQ(decoded.addresses, each.addresses) << each.what;
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
        EXPECT_EQ(master->commError(), CodServer::Answered);
        return {list, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)};
    }

    MasterServerPeer peer;
    CodServerPtr master = CodServer::create();
};

TEST_F(MasterListExchangeTest, everyListDatagramIsDecodedInOrderUntilTheMasterFallsSilent)
{
    const auto [silentList, silentTook] = fetchList();
    EXPECT_EQ(silentList, "");
    EXPECT_GE(silentTook.count(), timeoutMicroseconds);

    peer.setAnswer({
        listDatagram({record(0x0A000001, 0x71A0), record(0x0A000002, 28960)}, Ending::EndOfTransmission),
        listDatagram({}, Ending::EndOfFile),
        listDatagram({record(0x0A000003, 0x6D38)}, Ending::EndOfTransmission),
        listDatagram({record(0x0A000001, 0x71A0)}, Ending::EndOfFile),
    });
    const auto [list, took] = fetchList();
    EXPECT_EQ(list, "10.0.0.1:29088;10.0.0.2:28960;10.0.0.3:27960;10.0.0.1:29088;");
    EXPECT_EQ(peer.receivedDatagrams().last(), QuakeProtocol::connectionlessHeader + "getservers 6 empty full");
    // Only a time-out after the last datagram ends the exchange.
    EXPECT_GE(took.count(), timeoutMicroseconds);

    // A datagram that is no list answer ends it with what came before.
    peer.setAnswer({listDatagram({record(0x0A000001, 28960)}, Ending::EndOfTransmission),
                    QuakeProtocol::connectionlessHeader + "print\nnot a list",
                    listDatagram({record(0x0A000002, 28960)}, Ending::EndOfFile)});
    EXPECT_EQ(fetchList().first, "10.0.0.1:28960;");
}

TEST_F(MasterListExchangeTest, aFloodingMasterIsCutOffAfterTheDatagramCap)
{
    peer.setFlooding(true);
    const QString list = fetchList().first;
    peer.stopFlooding();
    EXPECT_EQ(list.count(u';'), MasterListDecoder::maximumDatagrams);
    EXPECT_TRUE(list.startsWith("127.0.0.1:28960;127.0.0.1:28960;"));
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
