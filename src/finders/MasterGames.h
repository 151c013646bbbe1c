#pragma once

#include <QString>

#include <array>

// The four games whose master servers are scanned, in the order the finders show them
// and the application hands their lists over: CoD, UO, CoD2, CoD4. A finder's game tag
// is the position in this order.
namespace MasterGames {

constexpr int count = 4;

// The game's name, as the windows tell its scan's progress.
inline QString name(int tag)
{
    static const std::array<QString, count> names = {
        QStringLiteral("Call of Duty"),
        QStringLiteral("United Offensive"),
        QStringLiteral("Call of Duty 2"),
        QStringLiteral("Call of Duty 4"),
    };
    return names.at(size_t(tag));
}

}  // namespace MasterGames
