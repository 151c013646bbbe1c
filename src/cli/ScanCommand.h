#pragma once

#include "cli/Command.h"
#include "cli/QueriedServer.h"
#include "model/GameDescription.h"
#include "net/GameMasters.h"
#include "net/PacedScan.h"

#include <QElapsedTimer>

// "zorvel scan GAME": the master scan of a game on the scan engine, as the window's
// scan runs it, printing the servers that answered.
class ScanCommand : public Command {
public:
    // The fastest pace --pace takes, in queries a second: five times the preferences'
    // fastest.
    static constexpr qint64 fastestPace = 100000;

    QString name() const override { return QStringLiteral("scan"); }
    QString usage() const override;
    QString summary() const override;
    void describe(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) override;

private:
    static const QCommandLineOption masterOption;
    static const QCommandLineOption paceOption;

    static const GameDescription& gameOf(const QCommandLineParser& parser);
    // The masters to ask: --master's alone (over UDP, or over TCP as the game's TCP
    // masters are asked), or else every master the game asks (GameMasters: the
    // preferences' first for a game whose master lives in the settings); none, with
    // the reason told, when there is no usable master.
    static QList<MasterToAsk> mastersToAsk(const QCommandLineParser& parser, const GameDescription& game);
    // The masters whose host has an address, with it.
    static QList<MasterSource> lookedUp(const QList<MasterToAsk>& masters);
    // Runs the scan to its end on this thread's event loop; returns the exit status.
    int scan(const ScanSettings& settings);
    void answered(const CodServerPtr& server);
    void progressed(const ScanCounts& counts) const;
    int finish(const ScanCounts& counts, bool masterListedNothing);

    // What each master's list came to, in JSON: [{"master": ..., "outcome": ...}].
    QByteArray mastersJson() const;

    bool json = false;
    QList<MasterOutcome> masterOutcomes;
    QList<QueriedServer> servers;
    QElapsedTimer wallClock;
};
