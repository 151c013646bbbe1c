#pragma once

#include "FarmListing.h"
#include "peers/GameServerPeer.h"
#include "peers/MasterServerPeer.h"

#include <atomic>
#include <thread>

// A master on 127.0.0.1 that lists the farm's servers and one more, a server that
// answers its query with a flood of copies of its status; once it was asked, a
// stranger floods the asking socket from another port. A scan of this master shows
// what floods cost it.
class FloodedMaster {
public:
    explicit FloodedMaster(const FarmListing& farm);
    // Waits for the stranger's flood to end.
    ~FloodedMaster();
    FloodedMaster(const FloodedMaster&) = delete;
    FloodedMaster& operator=(const FloodedMaster&) = delete;

    quint16 masterPort() const { return master.port(); }
    // The flooding datagrams sent to a scan, from the flooder and from the stranger.
    int datagramsSent() const;

private:
    void floodFromStranger();

    GameServerPeer flooder;
    GameServerPeer stranger;
    MasterServerPeer master;
    std::atomic<int> strangerSent = 0;
    std::thread strangerFlood;
};
