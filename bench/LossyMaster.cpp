#include "LossyMaster.h"

LossyMaster::LossyMaster(quint16 requestedPort, double loss, unsigned seed)
    : MasterServerPeer(requestedPort)
    , loss(loss)
    , random(seed)
{
}

// Its serving thread ends before what its answers read goes.
LossyMaster::~LossyMaster()
{
    stop();
}

QList<QByteArray> LossyMaster::answerTo(const QByteArray& request)
{
    QList<QByteArray> kept;
    std::bernoulli_distribution lost(loss);
    for (const QByteArray& datagram : MasterServerPeer::answerTo(request)) {
        if (!lost(random))
            kept.append(datagram);
    }
    return kept;
}
