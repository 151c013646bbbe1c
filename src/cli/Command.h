#pragma once

#include <QCommandLineParser>
#include <QString>

#include <optional>

// One command of the command line ("zorvel query ..."): its options, its help and
// what it does. Commands run under a QCoreApplication, read the preferences through a
// read-only store and write nothing.
class Command {
public:
    // The exit statuses of every command.
    enum ExitStatus { Success = 0, SomeFailed = 1, UsageError = 2, NoMasterList = 3 };

    // What was wrong with the command line; the dispatcher prints it with the usage.
    struct Refusal {
        QString problem;
    };

    virtual ~Command() = default;

    virtual QString name() const = 0;
    // "zorvel query ADDRESS... [--json] [--timeout MS] [--rules]".
    virtual QString usage() const = 0;
    // One line for the list of commands.
    virtual QString summary() const = 0;
    // Adds the command's options and arguments to the parser.
    virtual void describe(QCommandLineParser& parser) const = 0;
    // Runs the command with the parsed arguments and returns its exit status; throws a
    // Refusal for a usage error.
    virtual int run(const QCommandLineParser& parser) = 0;

    // The usage, the summary and the options.
    QString help(const QCommandLineParser& parser) const;

protected:
    static const QCommandLineOption jsonOption;
    static const QCommandLineOption timeoutOption;
    static const QCommandLineOption rulesOption;

    // The option's value as a whole decimal number from lowest to highest, or nothing
    // when it was not given; a Refusal for any other text.
    static std::optional<qint64> numberOption(const QCommandLineParser& parser, const QCommandLineOption& option,
                                              qint64 lowest, qint64 highest);
    // Applies --timeout to the receive time-out of this run.
    static void applyTimeout(const QCommandLineParser& parser);
};
