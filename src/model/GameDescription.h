#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <utility>

// One master server of a game, as the catalogue (resources/games.json, and the user's
// games.json beside the settings) describes it. Each protocol is one request: a game
// with three protocols on a master asks it three times and merges the lists.
struct MasterDescription {
    enum class Transport { Udp, Tcp };
    // How the master tells that its list is complete.
    enum class ListEnd {
        // "eot": a datagram whose records end with \EOT (or a \EOF datagram) ends it.
        EndOfTransmission,
        // "eot-nul": every datagram ends with \EOT; only \EOT followed by NUL bytes, or
        // \EOF, ends the list (the Activision masters).
        EndOfTransmissionWithNul,
        // "silence": the master sends no end marker; one time-out of silence ends it.
        Silence,
        // "stream-end": over TCP, the master closes the stream (or falls silent).
        StreamEnd,
    };

    // Host name or dotted address, and port.
    QString host;
    quint16 port = 0;
    Transport transport = Transport::Udp;
    // The request's text after the four 0xFF bytes, with the placeholders {game},
    // {protocol} and {keywords}; a placeholder whose value is empty goes with the blank
    // before it. Default "getservers {game} {protocol} {keywords}".
    QString request;
    // The game name a master of several games wants ("Xonotic"); empty for none.
    QString gameName;
    // The protocol numbers to ask for, one request each, in order.
    QList<int> protocols;
    // The words after the protocol; default "empty full", "" for masters that take none.
    QString keywords;
    // The bytes between each entry's backslash and its address (hex in the file).
    QByteArray entryPrefix;
    ListEnd listEnd = ListEnd::EndOfTransmission;

    // "host:port", as the windows name the master.
    QString label() const { return host + u':' + QString::number(port); }

    bool operator==(const MasterDescription&) const = default;
};

// The status keys that hold a server's fields, each tried in order; the first key the
// server sends gives the value.
struct StatusKeys {
    QStringList name;        // default sv_hostname, hostname
    QStringList password;    // default g_needpass, pswrd: whether a join password is needed
    QStringList maxClients;  // default sv_maxclients
    QStringList gametype;    // default g_gametype

    bool operator==(const StatusKeys&) const = default;
};

// A gametype as the server names it ("sd", "4") and as the windows show it.
struct GametypeName {
    QString id;
    QString name;

    bool operator==(const GametypeName&) const = default;
};

// How the console lists a game's maps: the "fdir" command and how a file it lists
// becomes a map name (folder prefix and extension taken away).
struct MapListingCommand {
    QString command;
    QString prefix;
    QString extension;

    bool operator==(const MapListingCommand&) const = default;
};

// The console commands of a game's administration, with the placeholders {name} (a
// player's name) and {slot} (a player's slot number). An empty command is one the
// game lacks: the windows offer no button for it.
struct AdminCommands {
    QString kickByName;  // default "kick {name}"
    QString kickBySlot;  // default "clientKick {slot}"
    QString ban;         // default "banUser {name}"
    // How the maps installed on the server are listed; none for a game without "fdir".
    std::optional<MapListingCommand> mapListing;

    bool operator==(const AdminCommands&) const = default;
};

// Everything Zorvel knows of one game, from the game catalogue. Code asks a game's
// properties here rather than branching on its name.
struct GameDescription {
    // How colour codes are written in names: "caret-digit" (^ and one character) or
    // "darkplaces" (also ^x and three hex digits).
    enum class ColourDialect { CaretDigit, DarkPlaces };
    // How the status answer lists players: "cod" (score ping "name") or "darkplaces"
    // (score ping "name" and, on team games, a team number after the name).
    enum class PlayerLineGrammar { Cod, DarkPlaces };

    // Short id, used by the command line and the JSON "game" key ("cod4").
    QString id;
    // Name shown in the windows ("Call of Duty 4").
    QString name;
    // Short label for the game's icon ("CoD4").
    QString iconLabel;
    // The game names ("gamename" key) by which a server is recognised as this game.
    QStringList gameNames;
    // Keys (and values; an empty value takes any) that together recognise a server
    // of this game whose game name says nothing; none when the game name must tell.
    QList<std::pair<QString, QString>> recognitionKeys;
    // For the games whose master lives in the settings: the prefix of the keys
    // "<prefix> Master Server", "… Port" and "… Protocol" ("CoD4"); empty otherwise.
    QString settingsPrefix;
    QList<MasterDescription> masters;
    StatusKeys statusKeys;
    QList<GametypeName> gametypes;
    ColourDialect colours = ColourDialect::CaretDigit;
    PlayerLineGrammar playerLines = PlayerLineGrammar::Cod;
    // Whether its servers echo the challenge of a status query ("getstatus 123") in
    // their answer ("\challenge\123"), so that an answer names the query it answers.
    bool statusEchoesChallenge = false;
    // The ports its servers listen on by default, the first being the usual one.
    QList<quint16> defaultPorts;
    // Executable names of the game looked for on PATH, in order.
    QStringList launchers;
    // Arguments that join a server, with {address}; default "+connect {address}".
    QStringList joinArguments;
    // Arguments put before those when a join password is given, with {password};
    // default "+password {password}".
    QStringList passwordArguments;
    AdminCommands admin;

    bool operator==(const GameDescription&) const = default;
};
