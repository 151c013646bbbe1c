#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>

// The wire of Quake-3-style servers and masters, stated once: the connectionless
// header, the request datagrams, and the sizes of the buffers they go through.
namespace QuakeProtocol {

// Command types of one exchange; the master types name the list request of each
// game's master.
enum CommandType {
    StatusQuery = 0,
    RconCommand = 1,
    CodMasterList = 2,
    UOMasterList = 3,
    Cod2MasterList = 4,
    RconStatus = 5,
    Cod4MasterList = 6,
};

inline const QByteArray connectionlessHeader("\xff\xff\xff\xff", 4);
inline constexpr std::size_t requestBufferBytes = 512;
inline constexpr std::size_t receiveBufferBytes = 2048;
// A game server's answer datagram starts with the four header bytes and a short tag
// line; joined datagrams lose this many characters.
inline constexpr qsizetype answerHeaderLength = 10;

// The preference that holds the protocol number of a master type's request.
QString masterProtocolKey(int type);

// Text of an answer, one character per byte.
QString textOfDatagram(const QByteArray& datagram);

QByteArray statusRequest();
QByteArray rconRequest(const QString& password, const QString& command);
// True when the command does not fit the request buffer whole and would reach the
// server cut.
bool rconRequestIsCut(const QString& password, const QString& command);
QByteArray masterRequest(int protocol);

}  // namespace QuakeProtocol
