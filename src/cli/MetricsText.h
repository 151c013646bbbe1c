#pragma once

#include "cli/QueriedServer.h"

#include <QByteArray>
#include <QHash>
#include <QList>

// The favourites' state in the Prometheus text format (version 0.0.4): one gauge
// family a metric, each server's samples labelled with its address and game.
class MetricsText {
public:
    static constexpr const char* contentType = "text/plain; version=0.0.4; charset=utf-8";

    // The servers of the last refresh; games: the game last known of each address,
    // which labels a server that does not answer now; scrapeSeconds: how long that
    // refresh took.
    static QByteArray of(const QList<QueriedServer>& servers, const QHash<QString, QString>& games,
                         double scrapeSeconds);
    // A label value as the format writes it, quotes included: backslash, double quote
    // and line feed escaped.
    static QByteArray labelValue(const QString& text);
};
