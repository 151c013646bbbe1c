#pragma once

#include <QString>

// What became of one master a scan asked: how many servers it listed and whether its
// list came whole, or why there is none.
struct MasterOutcome {
    enum class Kind {
        // The list came whole (or as far as the master marks its lists).
        Listed,
        // The list ended on silence after a datagram went missing, or was cut off.
        MayBeIncomplete,
        // Nothing came back.
        NoAnswer,
        // The master's host name has no address; nothing was sent.
        HostNotFound,
    };

    Kind kind = Kind::NoAnswer;
    // The servers it listed, each once.
    int listed = 0;
    // The master as the user knows it (MasterSource::label).
    QString master = {};

    // "listed 1,234", "listed 12, list may be incomplete", "no answer", "host not
    // found"; the number grouped the locale's way.
    QString text() const;

    bool operator==(const MasterOutcome&) const = default;
};
