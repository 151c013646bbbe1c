#pragma once

#include "cli/Command.h"
#include "cli/QueriedServer.h"
#include "net/PacedScan.h"
#include "model/GameDescription.h"
#include "net/MasterSource.h"

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
    // The master's address: --master's, or the preferences'; nothing, with the
    // reason told, when it has none.
    static std::optional<MasterSource> masterOf(const QCommandLineParser& parser, const GameDescription& game);
    // Runs the scan to its end on this thread's event loop; returns the exit status.
    int scan(const ScanSettings& settings);
    void answered(const CodServerPtr& server);
    void progressed(const ScanCounts& counts) const;
    int finish(const ScanCounts& counts, bool masterListedNothing);

    bool json = false;
    QList<QueriedServer> servers;
    QElapsedTimer wallClock;
};
