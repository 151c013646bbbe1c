#pragma once

#include "support/ChildProcess.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

// The OpenArena dedicated server of the interop suite: started once before the first
// test on 127.0.0.1 and a free port, with a private home folder, an rcon password, a
// coloured host name and two bots, and stopped after the last test.
class OpenArenaServer : public testing::Environment {
public:
    static constexpr const char* program = "/usr/games/openarena-server";
    static constexpr const char* rconPassword = "zorvel-interop";
    // Configuration files put in the server's home folder so that its listing has a
    // file of every kind: shown, and excluded by name.
    static const QStringList extraConfigFiles;

    static OpenArenaServer& instance();

    void SetUp() override;
    void TearDown() override;

    bool isInstalled() const;
    bool isRunning();
    QString address() const;
    quint16 port() const { return serverPort; }

    // The server takes a burst of ten status queries and rcon commands from one
    // address, then one a second, and silently drops the rest: every exchange of the
    // suite waits here for its turn, a little over a second after the last one.
    static void waitForTurn();

private:
    void writeConfigFiles() const;
    bool answersWithBothBots() const;
    QString logTail() const;

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<ChildProcess> process;
    quint16 serverPort = 0;
};
