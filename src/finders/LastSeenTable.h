#pragma once

#include "history/HistoryRecords.h"

#include <QList>
#include <QString>

class QLabel;
class QTableWidget;

// The player finder's "Last seen": where and when the history saw the players whose
// name holds a text, one row per stay, the latest first, with a line that tells how
// many there are or that the history has none.
namespace LastSeenTable {

// The rows the history gave for the text, at most limit of them.
void show(QTableWidget& table, QLabel& summary, const QString& text, const QList<Sighting>& sightings, int limit);

}  // namespace LastSeenTable
