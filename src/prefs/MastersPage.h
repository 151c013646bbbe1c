#pragma once

#include "model/GameDescription.h"

#include <QGroupBox>
#include <QHash>
#include <QList>

class QComboBox;
class QPushButton;
class QTableWidget;

// The preferences' Masters page: for the game chosen in its box, the masters a scan
// asks (besides the master of the Call of Duty games' own fields) as an editable
// list: host, port, transport ("udp" or "tcp") and protocols (numbers separated by
// blanks or commas). Add, Remove and "Restore defaults" (the catalogue's masters)
// act on the chosen game. Edits are kept per game until store(), which OK calls; a
// row without a host, with a port outside 1 to 65535 or without a protocol is left
// out. A master keeps the request, keywords and framing of the catalogue's master at
// the same host and port (or of its first one of that transport).
class MastersPage : public QGroupBox {
    Q_OBJECT
public:
    explicit MastersPage(QWidget* parent = nullptr);

    // Stores every game's masters; false when a setting could not be written.
    bool store();

private:
    void showGame(int index);
    void keepShownGame();
    void showMasters(const QList<MasterDescription>& masters);
    void addMaster();
    void removeMaster();
    void restoreDefaults();
    QList<MasterDescription> mastersInTable(const GameDescription& game) const;
    std::optional<MasterDescription> masterInRow(const GameDescription& game, int row) const;

    QComboBox* gameBox = nullptr;
    QTableWidget* table = nullptr;
    QPushButton* removeButton = nullptr;
    // The game whose masters the table shows, by its place in the catalogue.
    int shownGame = -1;
    // The edits of the games shown so far, by id.
    QHash<QString, QList<MasterDescription>> edited;
};
