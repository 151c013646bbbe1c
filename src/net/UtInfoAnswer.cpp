#include "net/UtInfoAnswer.h"

#include "net/UtAnswerReader.h"

namespace {

// The request's five bytes, then thirteen bytes that are not read (server id, address,
// ports), then the server name's length byte.
constexpr qsizetype serverNameOffset = 18;
// The bytes between the gametype and the maximum number of players (the player count).
constexpr qsizetype skippedBeforeMaxClients = 4;

// The value just read, when the answer goes on past it.
template <typename Value>
std::optional<Value> followed(const UtAnswerReader& reader, std::optional<Value> value)
{
    return reader.atEnd() ? std::nullopt : value;
}

}  // namespace

std::optional<UtInfoAnswer::Fields> UtInfoAnswer::parse(QByteArrayView answer)
{
    Fields fields;
    // Shorter than the name's length byte and one byte of name: nothing to read.
    if (answer.size() < serverNameOffset + 2)
        return fields;
    if (answer[serverNameOffset] == 0)
        return std::nullopt;

    UtAnswerReader reader(answer, serverNameOffset);
    fields.serverName = followed(reader, reader.readString());
    if (fields.serverName)
        fields.mapName = followed(reader, reader.readString());
    if (fields.mapName)
        fields.gametype = followed(reader, reader.readString());
    if (fields.gametype) {
        reader.skip(skippedBeforeMaxClients);
        if (const std::optional<qint32> maxClients = followed(reader, reader.readInt32()))
            fields.maxClients = QString::number(*maxClients);
    }
    return fields;
}
