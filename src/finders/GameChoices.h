#pragma once

#include "finders/ServerFilter.h"

#include <QSet>
#include <QString>
#include <QStringList>

// What the map and gametype boxes of the server finder offer for one game: "All",
// then the distinct gametypes (or map names) of the game's servers in lowercase, in
// the order of their first appearance. Empty texts are left out. The servers' texts
// are offered one server after the other, as a scan hands them over.
class GameChoices {
public:
    // Offers the gametype and the map of one more server, when they are new.
    void add(const QString& gametype, const QString& map);

    const QStringList& gametypes() const { return gametypeTexts.texts; }
    const QStringList& maps() const { return mapTexts.texts; }

private:
    // The distinct non-empty texts in lowercase, in order of first appearance, after "All".
    class DistinctTexts {
    public:
        void add(const QString& text);

        QStringList texts{ServerFilter::all};

    private:
        QSet<QString> seen;
    };

    DistinctTexts gametypeTexts;
    DistinctTexts mapTexts;
};
