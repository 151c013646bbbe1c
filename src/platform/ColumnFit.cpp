#include "platform/ColumnFit.h"

#include <QHeaderView>
#include <QTableView>

void ColumnFit::fitToFirstRows(QTableView& table, int stretched)
{
    QHeaderView& header = *table.horizontalHeader();
    header.setResizeContentsPrecision(0);
    header.setSectionResizeMode(QHeaderView::Interactive);
    header.setSectionResizeMode(stretched, QHeaderView::Stretch);
    // Until the first rows come, the columns fit their titles.
    table.resizeColumnsToContents();
    QAbstractItemModel& model = *table.model();
    auto* fitted = new QObject(&table);
    const auto fitOnce = [&table, &header, &model, fitted] {
        if (model.rowCount() == 0)
            return;
        if (!header.property(rememberedWidths).toBool())
            table.resizeColumnsToContents();
        delete fitted;
    };
    QObject::connect(&model, &QAbstractItemModel::modelReset, fitted, fitOnce);
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, fitted, fitOnce);
}
