#include "finders/ColumnOrder.h"

#include "platform/NaturalOrder.h"
#include "platform/RecordTableModel.h"

#include <QHeaderView>
#include <QTableView>

namespace ColumnOrder {

void orderOnTitleClicks(QTableView& table, std::function<void()> reorder)
{
    QHeaderView& header = *table.horizontalHeader();
    header.setSectionsClickable(true);
    header.setSortIndicatorShown(true);
    header.setSortIndicator(-1, Qt::AscendingOrder);
    QObject::connect(&header, &QHeaderView::sortIndicatorChanged, &table, std::move(reorder));
}

std::optional<Choice> chosen(const QTableView& table)
{
    const QHeaderView& header = *table.horizontalHeader();
    const auto* model = qobject_cast<const RecordTableModel*>(table.model());
    const QString column = model ? model->columnIdentifier(header.sortIndicatorSection()) : QString();
    if (column.isEmpty())
        return std::nullopt;
    return Choice{column, header.sortIndicatorOrder()};
}

Key comparable(Key key)
{
    key.text = NaturalOrder::sortKey(key.text);
    return key;
}

bool isLess(const Key& a, const Key& b)
{
    return a.number != b.number ? a.number < b.number : a.text < b.text;
}

}  // namespace ColumnOrder
