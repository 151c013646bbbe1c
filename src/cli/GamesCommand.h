#pragma once

#include "cli/Command.h"

// "zorvel games": the games whose masters "scan" asks, with the masters of the
// preferences.
class GamesCommand : public Command {
public:
    QString name() const override { return QStringLiteral("games"); }
    QString usage() const override;
    QString summary() const override;
    void describe(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) override;
};
