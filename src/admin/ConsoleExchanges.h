#pragma once

#include "model/CodServer.h"
#include "platform/WorkerQueue.h"

#include <QObject>
#include <QString>

#include <functional>

// The remote-console exchanges of the administration drawer, run one after the other
// on a worker thread of their own, so that the window goes on while a server takes
// its time to answer or stays silent. Each exchange's answer is handed to its
// callback on the thread that queued it, in the order the exchanges were queued.
class ConsoleExchanges : public QObject {
    Q_OBJECT
public:
    struct Exchange {
        CodServerPtr server;
        QString command;
        // A transport command type (QuakeProtocol::CommandType).
        int type = 0;
    };
    using Answered = std::function<void(const QString& answer)>;

    explicit ConsoleExchanges(QObject* parent = nullptr);
    // Lets the exchange under way end and drops those still waiting, then joins the worker.
    ~ConsoleExchanges() override;

    void queue(const Exchange& exchange, Answered answered);
    // No exchange is waiting, under way, or has an answer not yet handed over.
    bool idle() const { return worker.idle(); }

private:
    WorkerQueue worker;
};
