#pragma once

#include "model/GameDescription.h"
#include "net/MasterSource.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class Preferences;

// A master a scan asks, before its host name is looked up: the source's address
// holds the port, and its IP once the host is known.
struct MasterToAsk {
    QString host;
    MasterSource source;
    // The protocol number the request asks for.
    int protocol = 0;
    MasterDescription::ListEnd listEnd = MasterDescription::ListEnd::EndOfTransmission;

    bool operator==(const MasterToAsk&) const = default;
};

// The masters a scan of a game asks, from the game's description and the settings.
class GameMasters {
public:
    // For a game whose master lives in the settings (the Call of Duty games), that
    // master first, asked with the stored protocol; then each of the game's masters
    // (the user's, EditedMasters, or else the catalogue's) with each of its protocols. A request that is already in the list (same host,
    // port, transport and bytes) is asked once.
    static QList<MasterToAsk> mastersToAsk(const GameDescription& game, const Preferences& store);
    // A master of the game at host and port, asked over that transport as the game's
    // masters of that transport are (request, game name, keywords, entry prefix and
    // framing of the first of them, or over UDP the usual "getservers"), with their
    // first protocol, or the stored one for a game whose master lives in the
    // settings; nothing when the game has no masters over TCP and TCP is asked for.
    static std::optional<MasterToAsk> masterAt(const GameDescription& game, MasterDescription::Transport transport,
                                               const QString& host, quint16 port, const Preferences& store);
    // The request's bytes: the four 0xFF bytes and the master's request text with its
    // game name, the protocol and its keywords.
    static QByteArray requestOf(const MasterDescription& master, int protocol);
    // A stored master port: the leading integer of the text, accepted from 2 to 65534.
    static std::optional<quint16> masterPort(const QString& text);

private:
    // The request of the master with that protocol.
    static MasterToAsk askOf(const MasterDescription& master, int protocol);
    static QList<MasterDescription> storedMaster(const GameDescription& game, const Preferences& store);
};
