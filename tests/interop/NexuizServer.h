#pragma once

#include "net/DatagramSocket.h"
#include "support/ChildProcess.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// The Nexuiz dedicated server of the interop suite (Debian nexuiz-server, a DarkPlaces
// engine): started once before the first test on 127.0.0.1 and a free port, with a
// private home folder, an rcon password and a host name coloured in both of the
// engine's dialects, and stopped after the last test.
//
// An empty DarkPlaces server runs no game frames, so its bots never join: a test that
// wants a player connects a visitor, a client that asks for a challenge, connects and
// then stays silent. The server lists it as "unconnected" until it kicks it or gives up
// on it.
class NexuizServer : public testing::Environment {
public:
    static constexpr const char* program = "/usr/games/nexuiz-server";
    static constexpr const char* rconPassword = "zorvel-interop";
    static constexpr const char* colouredHostName = "^1Nex^x0f0uiz^7 Test";
    static constexpr const char* map = "ruiner";
    static constexpr const char* visitorName = "unconnected";

    static NexuizServer& instance();

    void SetUp() override;
    void TearDown() override;

    bool isInstalled() const;
    bool isRunning();
    QString address() const;

    // The server answers one status query from an address every two seconds and
    // drops the others: every status query of the suite waits here for its turn.
    static void waitForTurn();

    // Connects a new visitor; false when the server did not accept it.
    bool connectVisitor();
    // The server's log so far, where it writes every rcon command it received.
    QString log() const;

private:
    bool answersStatus() const;

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<ChildProcess> process;
    std::unique_ptr<DatagramSocket> visitor;
    quint16 serverPort = 0;
};
