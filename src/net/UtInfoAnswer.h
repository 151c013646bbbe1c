#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The answer of a UT2004 server to the information query: its name, map, gametype
// and maximum number of players. Pure: bytes in, fields out.
class UtInfoAnswer {
public:
    // Each field is present only when the answer holds it whole and goes on for at
    // least one byte after it; the parse stops at the first field missing.
    struct Fields {
        std::optional<QString> serverName;
        std::optional<QString> mapName;
        std::optional<QString> gametype;
        std::optional<QString> maxClients;
    };

    // The fields of a whole answer datagram (request bytes included), or none when the
    // server name's length byte is 0, which makes the answer a failed one.
    static std::optional<Fields> parse(QByteArrayView answer);
};
