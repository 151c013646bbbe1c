#pragma once

#include "peers/GameServerFarm.h"

#include <random>
#include <vector>

// Makes generated farm servers look like Call of Duty 4 servers on the Internet:
// CoD4 maps and gametypes, the keys a CoD4 server puts in its status, and a seeded
// share of private slots, PunkBuster and passwords.
class Cod4ServerLook {
public:
    static void dress(std::vector<GameServerFarm::Server>& servers, unsigned seed);

private:
    static QByteArray moreKeys(std::mt19937& random);
};
