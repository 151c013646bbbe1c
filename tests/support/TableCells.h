#pragma once

#include "model/CodServer.h"

#include <QStringList>
#include <QVariant>

class QTableView;

// The column of a table with the title; throws when there is none.
int columnTitled(const QTableView& table, const QString& columnTitle);
// A cell of a table, by the title of its column; throws when no column has it.
QVariant cell(const QTableView& table, int row, const QString& columnTitle, int role = Qt::DisplayRole);

// A tooltip's text as the user reads it, markup drawn.
QString tipText(const QVariant& tip);
// The names of the servers, in order.
QStringList namesOf(const QList<CodServerPtr>& servers);
// The addresses of the servers, in order.
QStringList addressesOf(const QList<CodServerPtr>& servers);
// The texts in order, so that lists compare whatever their order and a duplicate shows.
QStringList sorted(QStringList texts);
