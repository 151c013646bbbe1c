#pragma once

#include "admin/MapForRotation.h"

#include <ostream>

// How test failures show a rotation entry.
inline void PrintTo(const MapForRotation& entry, std::ostream* out)
{
    *out << '(' << entry.mapName().toStdString() << ", " << entry.gametype().toStdString() << ')';
}
