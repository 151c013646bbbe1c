// What a server prints in answer to a console command reaches the drawer's console
// through ConsoleReply::outputOf: no answer may crash it, only a printed answer (a
// Quake 3 engine's "print" or a DarkPlaces engine's "n") has an output, and the output never outgrows what was printed nor ends in a line end.
// Only an answer whose whole output is the refusal line refuses the rcon password.
#include "FuzzInput.h"

#include "net/ConsoleReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using FuzzInput::require;
    const QString answer = FuzzInput::answerOf(data, size);
    const std::optional<QString> output = ConsoleReply::outputOf(answer);
    const QString printTag = QuakeProtocol::textOfDatagram(QuakeProtocol::connectionlessHeader + "print\n");
    const QString darkPlacesTag = QuakeProtocol::textOfDatagram(QuakeProtocol::connectionlessHeader + "n");
    const QString tag = answer.startsWith(printTag) ? printTag
                        : answer.startsWith(darkPlacesTag) ? darkPlacesTag
                                                           : QString();
    require(output.has_value() == !tag.isEmpty());
    if (output) {
        require(output->size() <= answer.size() - tag.size());
        require(!output->endsWith(u'\n'));
    }
    if (ConsoleReply::refusesPassword(answer))
        require(output == QStringLiteral("Bad rconpassword."));
    return 0;
}
