#pragma once

#include <QStringView>

// The order in which people sort names that hold numbers: the runs of digits compare
// by their value, the rest character by character, so that "host-5" comes before
// "host-22" and "map2" before "map10".
namespace NaturalOrder {

bool isLess(QStringView a, QStringView b);

}  // namespace NaturalOrder
