#pragma once

#include "finders/ServerFacts.h"
#include "model/CodServer.h"

#include <QHash>
#include <QString>

#include <vector>

// Where each server of a list stands in a column's ascending order, as a number:
// servers whose keys are equal share one. A column's ranks are made at its first use
// and kept with the list, so that ordering the list again by a column, either way,
// sorts small numbers and reads no record.
class ColumnRanks {
public:
    // The ranks of the servers, by their places in the list, in the column.
    const std::vector<int>& of(const QString& column, const std::vector<CodServerPtr>& servers,
                               const std::vector<ServerFacts>& facts);

private:
    QHash<QString, std::vector<int>> ranks;
};
