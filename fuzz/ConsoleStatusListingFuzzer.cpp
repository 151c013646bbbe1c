// Every console status listing a server sends goes through ConsoleStatusListing
// before a kick or ban by slot: no input may crash it, and a slot it finds must come
// from a row that holds the name. The input's first line is the player's name, the
// rest the listing.
#include "FuzzInput.h"

#include "net/ConsoleStatusListing.h"
#include "platform/TextValue.h"

#include <QStringList>

#include <algorithm>

using FuzzInput::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = FuzzInput::answerOf(data, size);
    const qsizetype newline = input.indexOf(u'\n');
    const QString name = newline < 0 ? input : input.left(newline);
    const QString listing = newline < 0 ? QString() : input.mid(newline + 1);
    const ConsoleStatusListing::Lookup lookup = ConsoleStatusListing::slotOfPlayer(listing, name);

    const QStringList lines = listing.split(u'\n');
    require((lookup.outcome == ConsoleStatusListing::NotAListing) == (lines.size() < 2));
    if (lookup.outcome != ConsoleStatusListing::Found) {
        require(lookup.slot == -1);
        return 0;
    }
    require(!name.isEmpty() && lookup.slot >= 0);
    const bool fromARowWithTheName = std::any_of(lines.cbegin(), lines.cend(), [&](const QString& line) {
        // DarkPlaces engines write the slot as "#1".
        QString firstPiece = line.split(u' ', Qt::SkipEmptyParts).value(0);
        if (firstPiece.startsWith(u'#'))
            firstPiece.remove(0, 1);
        return line.contains(name) && TextValue::integerValue(firstPiece) == lookup.slot;
    });
    require(fromARowWithTheName);
    return 0;
}
