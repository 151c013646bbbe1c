#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// The fresh challenge each status query of a scan carries ("getstatus 4093021557"),
// for the games whose servers echo it in their answer ("\challenge\4093021557" in the
// status line): the echo names the query answered, whatever the route or the time it
// came by. A challenge is the scan's secret number plus the query's place (server and
// try), so a stranger cannot guess one and a stale scan's answers match nothing.
class QueryChallenge {
public:
    struct Named {
        std::size_t entry;
        int attempt;
    };

    QueryChallenge(quint32 secret, int triesPerEntry);

    // The status query of that try of that server.
    QByteArray query(std::size_t entry, int attempt) const;
    // The query that the challenge echoed names; nothing when no query of this scan
    // had that challenge.
    std::optional<Named> named(QByteArrayView echoed) const;

    // The challenge a status answer echoes, as it came; nothing when it echoes none.
    static std::optional<QByteArrayView> echoedIn(QByteArrayView datagram);

private:
    const quint64 secret;
    const int triesPerEntry;
};
