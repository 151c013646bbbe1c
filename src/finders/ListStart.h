#pragma once

#include "model/CodServer.h"

#include <QList>

namespace ListStart {

// Whether the list holds the kept servers at its start: the same records at the
// first and the last kept position. While a scan runs its list only grows at its
// end; a new scan makes new records, and the kept ones stay alive in their copy.
template <class Kept>
bool holds(const QList<CodServerPtr>& list, const Kept& kept)
{
    if (kept.empty())
        return true;
    const qsizetype count = qsizetype(kept.size());
    return list.size() >= count && list.first() == kept.front() && list.at(count - 1) == kept.back();
}

}  // namespace ListStart
