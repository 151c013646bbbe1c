#include "net/UtPlayersAnswer.h"

#include "net/UtAnswerReader.h"
#include "net/UtProtocol.h"

namespace {

// A record starts with the player's id and ends with the player's stats id; neither is read.
constexpr qsizetype skippedBeforeName = 4;
constexpr qsizetype skippedAfterScore = 4;

}  // namespace

QList<UtPlayersAnswer::Player> UtPlayersAnswer::parse(QByteArrayView answer)
{
    QList<Player> players;
    UtAnswerReader reader(answer, UtProtocol::requestLength);
    while (!reader.atEnd()) {
        reader.skip(skippedBeforeName);
        const std::optional<QString> name = reader.readString();
        const std::optional<qint32> ping = name ? reader.readInt32() : std::nullopt;
        const std::optional<qint32> score = ping ? reader.readInt32() : std::nullopt;
        if (!score)
            break;
        players.append({*name, *ping, *score});
        reader.skip(skippedAfterScore);
    }
    return players;
}
