#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QTableView;

// The order of a finder's table, chosen by a click on a column title: the first
// click orders the rows by that column, ascending, the next one reverses it. Until
// the first click the rows keep the order they came in. A finder keeps its list in
// the table's order, so that row i of the table is entry i of the list.
namespace ColumnOrder {

// What a row holds in a column, as the column orders it: a number, then, for equal
// numbers, a text (case-folded by whoever makes the key, so that texts compare
// without regard to case) in natural order: "server-5" before "server-22".
struct Key {
    qint64 number = 0;
    QString text;
};

// The column a click chose, by its identifier, and the direction.
struct Choice {
    QString column;
    Qt::SortOrder order;

    bool operator==(const Choice&) const = default;
};

// Makes the titles of the table, whose model is a RecordTableModel, choose its order;
// `reorder` runs after each choice.
void orderOnTitleClicks(QTableView& table, std::function<void()> reorder);
// The order the titles chose, or none before the first click.
std::optional<Choice> chosen(const QTableView& table);

// The key with its text made into one that compares in natural order as plain text.
Key comparable(Key key);
// The order of two comparable keys.
bool isLess(const Key& a, const Key& b);

// Sorts the rows by the key keyOf gives each, keeping the order of equal ones. Each
// row's key is made once (a record's fields are behind its lock), and the rows move
// once, to their places.
template <class Row, class KeyOf>
void sortRows(QList<Row>& rows, KeyOf keyOf, Qt::SortOrder order)
{
    std::vector<std::pair<Key, qsizetype>> keyed;
    keyed.reserve(size_t(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i)
        keyed.emplace_back(comparable(keyOf(std::as_const(rows)[i])), i);
    std::stable_sort(keyed.begin(), keyed.end(), [order](const auto& a, const auto& b) {
        return order == Qt::AscendingOrder ? isLess(a.first, b.first) : isLess(b.first, a.first);
    });
    QList<Row> sorted;
    sorted.reserve(rows.size());
    for (const auto& [key, index] : keyed)
        sorted.append(std::move(rows[index]));
    rows = std::move(sorted);
}

}  // namespace ColumnOrder
