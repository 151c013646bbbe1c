#pragma once

#include "cli/Command.h"
#include "cli/QueriedServer.h"
#include "net/ServerAddress.h"

#include <QHash>
#include <QObject>

#include <atomic>
#include <thread>

// "zorvel exporter": an HTTP endpoint /metrics in the Prometheus text format for the
// stored favourites, refreshed every interval on a thread of its own. It answers
// /metrics and nothing else (404), and serves no file.
class ExporterCommand : public Command {
public:
    // The shortest interval: two queries of one server are at least this far apart.
    static constexpr qint64 shortestInterval = 2;
    static constexpr qint64 longestInterval = 86400;
    static constexpr qint64 defaultInterval = 30;

    ~ExporterCommand() override;

    QString name() const override { return QStringLiteral("exporter"); }
    QString usage() const override;
    QString summary() const override;
    void describe(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) override;

private:
    static const QCommandLineOption listenOption;
    static const QCommandLineOption intervalOption;

    static ServerAddress listenAddress(const QCommandLineParser& parser);
    // Starts a refresh of every favourite, unless the last one still runs.
    void refresh();
    void refreshEnded(const QList<QueriedServer>& servers, double seconds);
    QByteArray metrics() const;

    // Touched on the command's thread only.
    QList<QueriedServer> lastServers;
    QHash<QString, QString> knownGames;
    double lastDuration = 0;
    // The refresh under way hands its results to this object's thread.
    QObject results;
    std::atomic<bool> refreshing = false;
    std::jthread refreshThread;
};
