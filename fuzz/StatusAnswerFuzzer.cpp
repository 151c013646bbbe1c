// Every status answer a server sends goes through StatusAnswer::parse: no input may
// crash it, and what it reads must hold together.
#include "FuzzInput.h"

#include "model/CodServer.h"
#include "net/StatusAnswer.h"

using FuzzInput::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString answer = FuzzInput::answerOf(data, size);
    const StatusAnswer parsed = StatusAnswer::parse(answer);

    // A value is one piece of the information string, cut at its first newline.
    for (int field = StatusAnswer::Admin; field <= StatusAnswer::PassActive; ++field) {
        if (const std::optional<QString> value = parsed.value(static_cast<StatusAnswer::Field>(field)))
            require(!value->contains(u'\\') && !value->contains(u'\n'));
    }

    // Players come from distinct lines, numbered upwards, named by quoted text.
    int lastNumber = -1;
    for (const CodPlayerPtr& player : parsed.players()) {
        const int number = player->playerNumber().toInt();
        require(number > lastNumber);
        lastNumber = number;
        require(!player->colouredName().contains(u'"') && !player->colouredName().contains(u'\n'));
        const QString coloured = player->colouredName();
        const QString inDarkPlaces = CodServer::clearColoredName(coloured, GameDescription::ColourDialect::DarkPlaces);
        require(player->playerName() == CodServer::clearColoredName(coloured) || player->playerName() == inDarkPlaces);
        require(!player->playerScore().contains(u' ') && !player->playerPing().contains(u' ')
                && !player->playerTeam().contains(u' '));
    }
    require(parsed.players().size() <= answer.count(u'\n'));
    return 0;
}
