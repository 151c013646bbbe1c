#include "admin/ConsoleExchanges.h"

#include "net/HostResolution.h"

ConsoleExchanges::ConsoleExchanges(QObject* parent)
    : QObject(parent)
    , worker([this](std::stop_token stopToken) { run(stopToken); })
{
}

ConsoleExchanges::~ConsoleExchanges()
{
    worker.request_stop();
    // An exchange waiting for a name server would hold the quit back.
    const HostResolution::AbandonedLookups withoutWaiting;
    worker.join();
}

void ConsoleExchanges::queue(const Exchange& exchange, Answered answered)
{
    ++unanswered;
    {
        std::lock_guard guard(queueLock);
        waiting.push_back({exchange, std::move(answered)});
    }
    queueChanged.notify_one();
}

bool ConsoleExchanges::takeNext(std::stop_token stopToken, Queued& next)
{
    std::unique_lock guard(queueLock);
    if (!queueChanged.wait(guard, stopToken, [this] { return !waiting.empty(); }))
        return false;
    next = std::move(waiting.front());
    waiting.pop_front();
    return true;
}

void ConsoleExchanges::run(std::stop_token stopToken)
{
    for (Queued next; takeNext(stopToken, next);) {
        const Exchange& exchange = next.exchange;
        const QString answer = exchange.server->sendCommandToServer(exchange.command, exchange.type);
        QMetaObject::invokeMethod(
            this,
            [this, answered = std::move(next.answered), answer] {
                --unanswered;
                answered(answer);
            },
            Qt::QueuedConnection);
    }
}
