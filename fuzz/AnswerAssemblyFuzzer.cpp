// Console status tables and "fdir" listings that a server splits over datagrams are
// joined by AnswerAssembly, whatever the order the datagrams arrive in. No input may
// crash it, it reads no more datagrams than an answer can span, and an answer it
// calls complete holds every datagram it read: a kick by slot must never work from a
// table with a part missing. The input's datagrams are separated by NUL bytes.
#include "FuzzInput.h"

#include "net/AnswerAssembly.h"

#include <QList>

#include <algorithm>

using FuzzInput::require;

namespace {

// Checks one assembly over the datagrams; it may ask for at most `mostReceived`
// datagrams after the first.
template <typename Assemble>
void checkAssembly(const QList<QString>& datagrams, qsizetype mostReceived, Assemble assemble)
{
    qsizetype received = 0;
    const AnswerAssembly::Result result = assemble(datagrams.first(), [&] {
        ++received;
        return datagrams.value(received);
    });
    require(received <= mostReceived);
    if (!result.complete)
        return;
    // Received datagrams end at the first empty one, which stands for a time-out.
    const qsizetype read = std::min(received, datagrams.size() - 1) + 1;
    for (qsizetype i = 0; i < read; ++i) {
        if (datagrams.at(i).isEmpty())
            break;
        require(result.answer.contains(AnswerAssembly::withoutHeader(datagrams.at(i))));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> pieces = FuzzInput::bytesOf(data, size).split('\0');
    QList<QString> datagrams;
    for (const QByteArray& piece : pieces)
        datagrams.append(QuakeProtocol::textOfDatagram(piece));
    checkAssembly(datagrams, 2, AnswerAssembly::assembleConsoleStatus);
    checkAssembly(datagrams, 1, AnswerAssembly::assembleListing);
    return 0;
}
