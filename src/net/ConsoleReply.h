#pragma once

#include <QString>

#include <optional>

// What a game server printed in answer to a remote-console command. The server
// answers with the connectionless header, "print" and a line end, then its console's
// output; the transport returns that datagram as text, or one of its error texts
// when nothing came.
namespace ConsoleReply {

// The output the answer carries, colour codes removed and without the line ends
// that close it; nothing when the answer is no printed output (an error text of
// the transport, or another kind of datagram).
std::optional<QString> outputOf(const QString& answer);

}  // namespace ConsoleReply
