#pragma once

#include <QString>

#include <optional>

// What a game server printed in answer to a remote-console command. The server
// answers with the connectionless header, "print" and a line end (DarkPlaces servers:
// an "n"), then its console's output; the transport returns that datagram as text,
// or one of its error texts when nothing came.
namespace ConsoleReply {

// The output the answer carries, colour codes removed and without the line ends
// that close it; nothing when the answer is no printed output (an error text of
// the transport, or another kind of datagram).
std::optional<QString> outputOf(const QString& answer);

// Whether the answer is the server's refusal of the rcon password: its whole printed
// output is the one line "Bad rconpassword.". A console reply or a status answer that
// merely holds those words, in a player's name for one, is no refusal.
bool refusesPassword(const QString& answer);

}  // namespace ConsoleReply
