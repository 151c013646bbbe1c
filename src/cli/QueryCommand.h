#pragma once

#include "cli/Command.h"
#include "cli/QueriedServer.h"

// "zorvel query ADDRESS...": queries each server once, all at the same time, and
// prints what they answered.
class QueryCommand : public Command {
public:
    QString name() const override { return QStringLiteral("query"); }
    QString usage() const override;
    QString summary() const override;
    void describe(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) override;

    // Prints the servers as the parser's options ask (--json, --rules) and returns
    // the exit status: success when every one answered. Shared with "favourites".
    static int report(const QList<QueriedServer>& servers, const QCommandLineParser& parser);
};
