#pragma once

#include <QString>
#include <QStringView>

// The order in which people sort names that hold numbers: the runs of digits compare
// by their value, the rest character by character, so that "host-5" comes before
// "host-22" and "map2" before "map10".
namespace NaturalOrder {

// The text made into one whose plain order (by UTF-16 code units) is the natural
// order of the texts: sorting a hundred thousand names by these keys compares them
// as fast as any text.
QString sortKey(QStringView text);

}  // namespace NaturalOrder
