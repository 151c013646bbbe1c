#pragma once

#include <QString>

// Finds a player's client slot in a server's console "status" listing, the number a
// kick or ban by slot needs. Pure: it reads the listing's text alone, so the console
// commands, the tests and the fuzzer share it.
//
// The listing is the table the server prints: a "map:" line, column titles, a rule,
// then one row per client that starts with its right-aligned slot number (on DarkPlaces
// engines "#" and the number). The columns
// between the slot and the name differ from game to game, so the name is looked for
// in the whole row, as a field of its own: after a blank, and followed by a blank, a
// colour code or the end of the row. A name that is only part of another field (a
// player "e" and a player "Steve") does not match.
class ConsoleStatusListing {
public:
    enum Outcome {
        // The answer has fewer than two lines: an error text, not a listing.
        NotAListing,
        // No row holds the name, or the name is empty.
        NotListed,
        // Several rows hold the name: the slot cannot be told.
        SeveralPlayers,
        Found,
    };

    struct Lookup {
        Outcome outcome = NotAListing;
        int slot = -1;
    };

    static Lookup slotOfPlayer(const QString& listing, const QString& colouredName);

private:
    // The slot a row starts with, or -1 for a line that is not a client's row.
    static int slotOfRow(const QString& line);
    static bool holdsNameAsField(const QString& line, const QString& name);
};
