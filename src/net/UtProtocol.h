#pragma once

#include <QByteArray>

#include <cstddef>
#include <optional>

// The wire of UT2004's server query, stated once: the query kinds, their 5-byte
// requests, and where the query port lies from the game port.
namespace UtProtocol {

// Query kinds of one UT2004 exchange.
enum QueryKind {
    Probe = 0,
    Rules = 1,
    Information = 2,
    Players = 3,
};

// The query port is tried at these offsets from the game port, in this order.
inline constexpr int portOffsets[] = {1, 10};

inline constexpr std::size_t receiveBufferBytes = 2048;
// Every request is this long, and every answer starts with the request it answers;
// the answer's own content follows.
inline constexpr qsizetype requestLength = 5;

// The request of a query kind: 80 00 00 00 and the kind's request byte. None for an
// unknown kind.
std::optional<QByteArray> request(int kind);

// True when the answer begins with the request's bytes.
bool isAnswerTo(const QByteArray& answer, const QByteArray& request);

}  // namespace UtProtocol
