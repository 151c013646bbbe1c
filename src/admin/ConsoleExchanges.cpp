#include "admin/ConsoleExchanges.h"

ConsoleExchanges::ConsoleExchanges(QObject* parent)
    : QObject(parent)
{
}

ConsoleExchanges::~ConsoleExchanges() = default;

void ConsoleExchanges::queue(const Exchange& exchange, Answered answered)
{
    worker.queue([exchange, answered = std::move(answered)]() -> WorkerQueue::Then {
        const QString answer = exchange.server->sendCommandToServer(exchange.command, exchange.type);
        return [answered, answer] { answered(answer); };
    });
}
