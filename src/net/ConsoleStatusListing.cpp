#include "net/ConsoleStatusListing.h"

#include "platform/TextValue.h"

#include <QStringList>

ConsoleStatusListing::Lookup ConsoleStatusListing::slotOfPlayer(const QString& listing, const QString& colouredName)
{
    const QStringList lines = listing.split(u'\n');
    if (lines.size() < 2)
        return {NotAListing};
    if (colouredName.isEmpty())
        return {NotListed};
    Lookup lookup{NotListed};
    for (const QString& line : lines) {
        const int slot = slotOfRow(line);
        if (slot < 0 || !holdsNameAsField(line, colouredName))
            continue;
        if (lookup.outcome == Found)
            return {SeveralPlayers};
        lookup = {Found, slot};
    }
    return lookup;
}

int ConsoleStatusListing::slotOfRow(const QString& line)
{
    QString firstPiece = line.split(u' ', Qt::SkipEmptyParts).value(0);
    // DarkPlaces engines write the slot as "#1".
    if (firstPiece.startsWith(u'#'))
        firstPiece.remove(0, 1);
    if (firstPiece.isEmpty() || firstPiece.at(0) < u'0' || firstPiece.at(0) > u'9')
        return -1;
    return TextValue::integerValue(firstPiece);
}

bool ConsoleStatusListing::holdsNameAsField(const QString& line, const QString& name)
{
    for (qsizetype at = line.indexOf(name); at >= 0; at = line.indexOf(name, at + 1)) {
        const qsizetype end = at + name.size();
        const bool startsField = at > 0 && line.at(at - 1) == u' ';
        const bool endsField = end == line.size() || line.at(end) == u' ' || line.at(end) == u'^';
        if (startsField && endsField)
            return true;
    }
    return false;
}
