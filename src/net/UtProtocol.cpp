#include "net/UtProtocol.h"

namespace UtProtocol {

std::optional<QByteArray> request(int kind)
{
    // The probe and the server information are the same request.
    static const QByteArray prefix("\x80\x00\x00\x00", 4);
    switch (kind) {
    case Probe:
    case Information: return prefix + '\x00';
    case Rules: return prefix + '\x01';
    case Players: return prefix + '\x02';
    default: return std::nullopt;
    }
}

bool isAnswerTo(const QByteArray& answer, const QByteArray& request)
{
    return answer.startsWith(request);
}

}  // namespace UtProtocol
