#pragma once

#include <QString>

// The game a server runs, decided everywhere from the reported game name alone, by
// exact and case-sensitive equality.
enum class GameKind { CoD, UO, CoD2, CoD4, UrbanTerror, ET, UT2004, Unknown };

GameKind gameKindOf(const QString& serverGameName);

// The game's short id: "cod", "uo", "cod2", "cod4", "urt", "et", "ut2004"; empty for
// an unknown game.
QString gameIdOf(GameKind kind);
