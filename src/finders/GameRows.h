#pragma once

#include <QList>

class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;

// The finders' rows of the catalogue's games, one game a row in its order (a game's
// tag is its row): the game's name (a choice button in the server finder), its count
// of servers, and the Fetch and Stop buttons of its scan. The widgets are named after
// the game's id: "gameButton-cod4", "gameLabel-cod4", "serverCount-cod4",
// "fetchButton-cod4", "stopButton-cod4".
struct GameRow {
    // Null where the game's name is a plain label.
    QRadioButton* choice = nullptr;
    QLabel* count = nullptr;
    QPushButton* fetch = nullptr;
    QPushButton* stop = nullptr;
};

class GameRows {
public:
    enum class Title { ChoiceButton, Label };

    // Adds a row per game to the grid, whose widget owns them.
    static QList<GameRow> addTo(QGridLayout& grid, Title title);
};
