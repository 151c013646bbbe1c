#include "net/MasterListDecoder.h"
#include "net/MasterListFetch.h"
#include "net/QuakeProtocol.h"
#include "peers/MasterServerPeer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;
using Ending = MasterServerPeer::Ending;
constexpr auto listDatagram = &MasterServerPeer::listDatagram;
constexpr auto record = &MasterServerPeer::record;

// "a.b.c.d:port;" for each server, as a master's list reads.
QString listText(const QList<ServerAddress>& servers)
{
    QString text;
    for (const ServerAddress& server : servers)
        text += server.text() + u';';
    return text;
}

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
        EXPECT_EQ(listText(decoded.servers), each.addresses) << each.what;
    }
}

// The fetch's rules over a clock of its own: a request at zero, a time-out of 100 ms.
class MasterListFetchTest : public testing::Test {
protected:
    static constexpr std::chrono::microseconds timeout = 100ms;
    const MasterListFetch::TimePoint requested = MasterListFetch::TimePoint() + 1h;
    MasterListFetch fetch{timeout, requested};
};

TEST_F(MasterListFetchTest, everyListDatagramCountsInOrderUntilTheMasterFallsSilentForOneTimeout)
{
    const QList<QByteArray> datagrams = {
        listDatagram({record(0x0A000001, 0x71A0), record(0x0A000002, 28960)}, Ending::EndOfTransmission),
        listDatagram({}, Ending::EndOfFile),
        listDatagram({record(0x0A000003, 0x6D38)}, Ending::EndOfTransmission),
        listDatagram({record(0x0A000001, 0x71A0)}, Ending::EndOfFile),
    };
    QString listed;
    for (int i = 0; i < datagrams.size(); ++i) {
        listed += listText(fetch.take(datagrams[i], requested + i * 90ms));
        fetch.expire(requested + i * 90ms + 89ms);
        EXPECT_FALSE(fetch.isOver()) << "\\EOT and \\EOF end only their own datagram";
    }
    EXPECT_EQ(listed, "10.0.0.1:29088;10.0.0.2:28960;10.0.0.3:27960;10.0.0.1:29088;");
    EXPECT_EQ(fetch.deadline(), requested + 270ms + timeout);
    fetch.expire(fetch.deadline());
    EXPECT_TRUE(fetch.isOver());
    EXPECT_TRUE(fetch.take(datagrams[0], fetch.deadline()).isEmpty()) << "nothing counts after the end";
    EXPECT_TRUE(fetch.listedAny());
}

TEST_F(MasterListFetchTest, aSilentMasterListsNothingAndADatagramThatIsNoListEndsTheFetch)
{
    fetch.expire(requested + timeout - 1ns);
    EXPECT_FALSE(fetch.isOver());
    fetch.expire(requested + timeout);
    EXPECT_TRUE(fetch.isOver());
    EXPECT_FALSE(fetch.listedAny());

    MasterListFetch answered(timeout, requested);
    EXPECT_EQ(listText(answered.take(listDatagram({record(0x0A000001, 28960)}, Ending::None), requested)),
              "10.0.0.1:28960;");
    EXPECT_TRUE(answered.take(QuakeProtocol::connectionlessHeader + "print\nnot a list", requested).isEmpty());
    EXPECT_TRUE(answered.isOver());
}

TEST_F(MasterListFetchTest, aMasterThatKeepsSendingIsCutOffAtTheDatagramCapOrAfterTwentyTimeouts)
{
    const QByteArray one = listDatagram({record(0x7F000001, 28960)}, Ending::EndOfTransmission);
    int listed = 0;
    for (int i = 0; i < MasterListFetch::maximumDatagrams + 10; ++i)
        listed += static_cast<int>(fetch.take(one, requested + i * 1us).size());
    EXPECT_EQ(listed, MasterListFetch::maximumDatagrams);
    EXPECT_TRUE(fetch.isOver());

    MasterListFetch slow(timeout, requested);
    for (int i = 1; i < 200 && !slow.isOver(); ++i) {
        slow.take(one, requested + i * 20ms);
        slow.expire(requested + i * 20ms);
    }
    EXPECT_EQ(slow.deadline(), requested + 20 * timeout);
    EXPECT_TRUE(slow.isOver());
}
