#pragma once

#include "cli/Command.h"

// "zorvel games": the games of the catalogue, with the masters "scan" asks for each.
class GamesCommand : public Command {
public:
    QString name() const override { return QStringLiteral("games"); }
    QString usage() const override;
    QString summary() const override;
    void describe(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) override;
};
