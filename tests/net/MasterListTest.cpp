#include "net/MasterListDecoder.h"
#include "net/MasterListFetch.h"
#include "net/MasterStreamReader.h"
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

TEST_F(MasterListFetchTest, aListEndsAtItsEndMarkerOrOnSilenceAndSaysWhenItsEndWentMissing)
{
    // The Activision masters' framing: "\n\0" after the tag, "\EOT" closing every
    // datagram, "\EOT" and zero bytes closing the list.
    const QByteArray tag = QuakeProtocol::connectionlessHeader + QByteArray("getserversResponse\n\0", 20);
    const QList<QByteArray> datagrams = {
        tag + record(0x0A000001, 0x71A0) + record(0x0A000002, 28960) + "\\EOT",
        tag + record(0x0A000003, 0x6D38) + "\\EOT",
        tag + record(0x0A000001, 0x71A0) + QByteArray("\\EOT\0\0", 6),
    };
    QString listed;
    for (int i = 0; i < datagrams.size(); ++i) {
        EXPECT_FALSE(fetch.isOver()) << "a datagram's own \\EOT does not end the list";
        listed += listText(fetch.take(datagrams[i], requested + i * 90ms));
    }
    EXPECT_EQ(listed, "10.0.0.1:29088;10.0.0.2:28960;10.0.0.3:27960;10.0.0.1:29088;");
    EXPECT_TRUE(fetch.isOver()) << "at once, without waiting for silence";
    EXPECT_FALSE(fetch.mayBeIncomplete());
    EXPECT_TRUE(fetch.take(datagrams[0], requested + 1s).isEmpty()) << "nothing counts after the end";

    // The same list without its last datagram ends on silence, incomplete.
    MasterListFetch lost(timeout, requested);
    lost.take(datagrams[0], requested);
    lost.take(datagrams[1], requested + 10ms);
    lost.expire(requested + 10ms + timeout - 1ns);
    EXPECT_FALSE(lost.isOver());
    lost.expire(requested + 10ms + timeout);
    EXPECT_TRUE(lost.isOver());
    EXPECT_TRUE(lost.missedItsEnd());
    EXPECT_TRUE(lost.mayBeIncomplete());

    // A master whose lists end at any "\EOT" (the catalogue's "eot") ends there.
    MasterListFetch eot(timeout, requested, {}, true);
    eot.take(datagrams[0], requested);
    EXPECT_TRUE(eot.isOver());
    EXPECT_FALSE(eot.mayBeIncomplete());

    // "\EOF" ends a list too; a master that marks nothing ends on silence, whole.
    MasterListFetch endOfFile(timeout, requested);
    endOfFile.take(listDatagram({record(0x0A000001, 28960)}, Ending::None), requested);
    endOfFile.take(listDatagram({}, Ending::EndOfFile), requested);
    EXPECT_TRUE(endOfFile.isOver());
    MasterListFetch unmarked(timeout, requested);
    unmarked.take(listDatagram({record(0x0A000001, 28960)}, Ending::None), requested);
    unmarked.expire(requested + timeout);
    EXPECT_TRUE(unmarked.isOver());
    EXPECT_FALSE(unmarked.mayBeIncomplete());
    EXPECT_TRUE(unmarked.answered());
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
    const QByteArray one = listDatagram({record(0x7F000001, 28960)}, Ending::EndOfDatagram);
    int listed = 0;
    for (int i = 0; i < MasterListFetch::maximumDatagrams + 10; ++i)
        listed += static_cast<int>(fetch.take(one, requested + i * 1us).size());
    EXPECT_EQ(listed, MasterListFetch::maximumDatagrams);
    EXPECT_TRUE(fetch.isOver());
    EXPECT_TRUE(fetch.mayBeIncomplete()) << "cut off";
    EXPECT_FALSE(fetch.missedItsEnd()) << "a master that floods is not asked again";

    MasterListFetch slow(timeout, requested);
    for (int i = 1; i < 200 && !slow.isOver(); ++i) {
        slow.take(one, requested + i * 20ms);
        slow.expire(requested + i * 20ms);
    }
    EXPECT_EQ(slow.deadline(), requested + 20 * timeout);
    EXPECT_TRUE(slow.isOver());
    EXPECT_TRUE(slow.mayBeIncomplete());
    EXPECT_FALSE(slow.missedItsEnd());
}

TEST(MasterListDecoderTest, theMarkersTellADatagramsEndFromTheListsAndEntriesMayCarryAPrefix)
{
    using Ending = MasterListDecoder::Ending;
    const QByteArray tag = QuakeProtocol::connectionlessHeader + "getserversResponse";
    const QByteArray one = record(0x01020304, 28960);
    const struct {
        const char* what;
        QByteArray datagram;
        Ending ending;
        QString addresses;
    } cases[] = {
        {"\\EOT alone", tag + one + "\\EOT", Ending::Datagram, "1.2.3.4:28960;"},
        {"\\EOT and zero bytes", tag + one + QByteArray("\\EOT\0\0", 6), Ending::List, "1.2.3.4:28960;"},
        {"\\EOF", tag + one + "\\EOF", Ending::List, "1.2.3.4:28960;"},
        {"\\EOF alone", tag + "\\EOF", Ending::List, ""},
        {"no marker", tag + one, Ending::None, "1.2.3.4:28960;"},
        {"a partial record", tag + one + "\\EO", Ending::None, "1.2.3.4:28960;"},
    };
    for (const auto& each : cases) {
        const MasterListDecoder::Decoded decoded = MasterListDecoder::decode(each.datagram);
        EXPECT_EQ(decoded.ending, each.ending) << each.what;
        EXPECT_EQ(listText(decoded.servers), each.addresses) << each.what;
    }

    const QByteArray prefix("\0\0\0\0\4", 5);
    const QByteArray prefixed = tag + "\\" + prefix + one.mid(1) + "\\" + prefix + record(0x05060708, 28961).mid(1);
    EXPECT_EQ(listText(MasterListDecoder::decode(prefixed, prefix).servers), "1.2.3.4:28960;5.6.7.8:28961;");
    EXPECT_EQ(listText(MasterListDecoder::decode(tag + one, prefix).servers), "") << "an entry without the prefix";
}

TEST(MasterStreamReaderTest, entriesAreReadWhateverPiecesTheStreamComesInAndTheRestIsSkipped)
{
    const QByteArray prefix("\0\0\0\0\4", 5);
    const auto entry = [&prefix](quint32 address, quint16 port) { return "\\" + prefix + record(address, port).mid(1); };
    // A header, an entry whose address holds a backslash, a stray backslash, a
    // truncated entry start, the end marker.
    const QByteArray stream = QuakeProtocol::connectionlessHeader + "getserversResponse" + entry(0x0A5C0001, 0x5C5C)
        + "\\x" + entry(0x0A000002, 28960) + "\\" + prefix.left(2) + entry(0x0A000003, 28961) + "\\EOT";
    const QString expected = "10.92.0.1:23644;10.0.0.2:28960;10.0.0.3:28961;";

    MasterStreamReader whole(prefix);
    EXPECT_EQ(listText(whole.take(stream)), expected);
    for (const qsizetype piece : {1, 2, 5, 11, 13}) {
        MasterStreamReader reader(prefix);
        QString listed;
        for (qsizetype at = 0; at < stream.size(); at += piece)
            listed += listText(reader.take(QByteArrayView(stream).sliced(at, std::min(piece, stream.size() - at))));
        EXPECT_EQ(listed, expected) << piece << "-byte pieces";
    }

    // A master that never stops is read up to the bound, and no further.
    MasterStreamReader flooded(prefix);
    const QByteArray megabyte = entry(0x0A000004, 28960).repeated((1 << 20) / 12);
    qsizetype listed = 0;
    for (int i = 0; i < 70 && !flooded.isFull(); ++i)
        listed += flooded.take(megabyte).size();
    EXPECT_TRUE(flooded.isFull());
    EXPECT_EQ(flooded.bytesRead(), MasterStreamReader::maximumBytes);
    EXPECT_EQ(listed, MasterStreamReader::maximumBytes / 12) << "up to the last whole entry before the bound";
    EXPECT_TRUE(flooded.take(megabyte).isEmpty());
}
