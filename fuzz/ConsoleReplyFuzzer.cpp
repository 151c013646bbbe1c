// What a server prints in answer to a console command reaches the drawer's console
// through ConsoleReply::outputOf: no answer may crash it, only a printed answer has
// an output, and the output never outgrows what was printed nor ends in a line end.
// Only an answer whose whole output is the refusal line refuses the rcon password.
#include "FuzzInput.h"

#include "net/ConsoleReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using FuzzInput::require;
    const QString answer = FuzzInput::answerOf(data, size);
    const std::optional<QString> output = ConsoleReply::outputOf(answer);
    const QString printTag = QuakeProtocol::textOfDatagram(QuakeProtocol::connectionlessHeader + "print\n");
    require(output.has_value() == answer.startsWith(printTag));
    if (output) {
        require(output->size() <= answer.size() - printTag.size());
        require(!output->endsWith(u'\n'));
    }
    if (ConsoleReply::refusesPassword(answer))
        require(output == QStringLiteral("Bad rconpassword."));
    return 0;
}
