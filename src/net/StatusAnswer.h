#pragma once

#include "model/CodPlayer.h"
#include "model/GameDescription.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What a game server's status answer says: the values of the keys Zorvel reads and
// the players. Pure: it reads the answer's text alone, so the status query, the tests
// and the fuzzer share it.
//
// The answer is a header line, then "\key\value\key\value..." and, after the last
// value, one line per player: score, a blank, ping, a blank, the name in double quotes;
// the game's catalogue entry says whether a team number may come with them.
// An answer that fills the receive buffer was cut there, and its last line with it:
// that line is no player.
class StatusAnswer {
public:
    // The record fields that a status answer fills.
    enum Field {
        Admin, Email, Location, WebSite, Gametype, GameName, MapName, FriendlyFire, KillCam,
        ShortVersion, Protocol, HostName, MaxClients, PunkBuster, Pure, PassActive
    };

    static StatusAnswer parse(const QString& answer);

    // The value the answer gives the field, or nothing when it has none of the field's
    // keys. A value ends at the first newline, so the last one does not carry the
    // player lines. HostName comes without the colour codes of the game's dialect.
    std::optional<QString> value(Field field) const;
    // The players in answer order, numbered by their count among the lines that hold
    // a double quote, dropped ones included.
    QList<CodPlayerPtr> players() const { return m_players; }
    // Every key and its value, in answer order, as the value rule above reads them;
    // a key that is the very last piece has no value and is left out.
    QList<std::pair<QString, QString>> rules() const { return m_rules; }

private:
    void readKeys(const QStringList& pieces);
    void readRules(const QStringList& pieces);
    void readGame();
    QString teamOf(const QStringList& numbers, const QString& afterName) const;
    void readPlayerLines(const QString& lastPiece, bool lastLineCut);

    QHash<Field, QString> values;
    GameDescription::ColourDialect dialect = GameDescription::ColourDialect::CaretDigit;
    GameDescription::PlayerLineGrammar playerLines = GameDescription::PlayerLineGrammar::Cod;
    QList<CodPlayerPtr> m_players;
    QList<std::pair<QString, QString>> m_rules;
};
