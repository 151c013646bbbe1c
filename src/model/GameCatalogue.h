#pragma once

#include "model/CodServer.h"
#include "model/GameDescription.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The games Zorvel knows: the catalogue compiled in (resources/games.json) merged,
// game by game, with the user's own games.json in the settings folder. A user file
// that cannot be read is reported once, as a clear message, and left aside: the
// built-in catalogue is used alone. Immutable once loaded; safe to read from any
// thread.
class GameCatalogue {
public:
    GameCatalogue(QList<GameDescription> games, QString userFileProblem);

    // The catalogue in use, loaded at its first use from the built-in file and the
    // games.json beside the settings file of Preferences::standard().
    static const GameCatalogue& standard();
    // The built-in file merged with the user's file at that path (which may be
    // missing). A problem with the user's file is logged once.
    static GameCatalogue load(const QString& userFilePath);
    static QByteArray builtInJson();
    // Where the user's games.json is read: beside the settings file.
    static QString userFilePath();

    // Every game, in the catalogue's order (the built-in ones first).
    const QList<GameDescription>& games() const { return m_games; }
    // The game of the id, or null.
    const GameDescription* find(const QString& id) const;
    // The game of a server from its reported game name and its status keys: the
    // seed's games are decided by GameKind alone; then each game's game names, then
    // its recognition keys, in the catalogue's order. Null when none says it.
    const GameDescription* gameOf(const QString& serverGameName, const ServerRules& rules) const;
    // What is wrong with the user's file ("" when it was read or there is none).
    QString userFileProblem() const { return m_userFileProblem; }

private:
    QList<GameDescription> m_games;
    QString m_userFileProblem;
};
