#include "finders/LastSeenTable.h"

#include "platform/CountText.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>

namespace {

QString timeText(qint64 secondsSinceEpoch)
{
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(secondsSinceEpoch), QLocale::ShortFormat);
}

// Items hold plain text: names from the network are never read as markup.
QStringList cellsOf(const Sighting& sighting)
{
    return {sighting.name, sighting.serverName, sighting.address, sighting.game, timeText(sighting.firstSeen),
            timeText(sighting.lastSeen)};
}

QString summaryOf(const QString& text, qsizetype count, int limit)
{
    if (count == 0)
        return QStringLiteral("The history never saw a player whose name holds “%1”.").arg(text);
    const QString seen = CountText::of(count, QStringLiteral("stay"), QStringLiteral("stays"));
    if (count >= limit)
        return QStringLiteral("The latest %1 of players whose name holds “%2”, the latest first.").arg(seen, text);
    return QStringLiteral("%1 of players whose name holds “%2”, the latest first.").arg(seen, text);
}

}  // namespace

void LastSeenTable::show(QTableWidget& table, QLabel& summary, const QString& text, const QList<Sighting>& sightings,
                         int limit)
{
    const QStringList titles = {QStringLiteral("Player"), QStringLiteral("Server"), QStringLiteral("Address"),
                                QStringLiteral("Game"), QStringLiteral("Since"), QStringLiteral("Last seen")};
    table.clear();
    table.setColumnCount(int(titles.size()));
    table.setHorizontalHeaderLabels(titles);
    table.setRowCount(int(sightings.size()));
    for (int row = 0; row < sightings.size(); ++row) {
        const QStringList cells = cellsOf(sightings.at(row));
        for (int column = 0; column < cells.size(); ++column)
            table.setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    table.resizeColumnsToContents();
    summary.setText(summaryOf(text, sightings.size(), limit));
}
