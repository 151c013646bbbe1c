#pragma once

#include "peers/MasterServerPeer.h"

#include <random>

// A master whose list datagrams the network loses, each with the same chance, drawn
// from a seed: a client that asks again gets another share of the list.
class LossyMaster : public MasterServerPeer {
public:
    LossyMaster(quint16 requestedPort, double loss, unsigned seed);
    ~LossyMaster() override;

protected:
    QList<QByteArray> answerTo(const QByteArray& request) override;

private:
    const double loss;
    std::mt19937 random;
};
