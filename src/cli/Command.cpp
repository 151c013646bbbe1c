#include "cli/Command.h"

#include "platform/Preferences.h"

#include <QLocale>

#include <algorithm>

namespace {

// The receive time-out setting holds microseconds below one second.
constexpr qint64 longestTimeoutMs = 999;

}  // namespace

const QCommandLineOption Command::jsonOption(QStringLiteral("json"), QStringLiteral("Print JSON Lines: one object a server."));
const QCommandLineOption Command::timeoutOption(
    QStringLiteral("timeout"), QStringLiteral("Wait this long for each answer (1 to 999, default: the preferences)."),
    QStringLiteral("MS"));
const QCommandLineOption Command::rulesOption(QStringLiteral("rules"),
                                             QStringLiteral("Also print every key and value the server sent."));

QString Command::help(const QCommandLineParser& parser) const
{
    QString options = parser.helpText();
    options = options.mid(options.indexOf(QStringLiteral("Options:")));
    return QStringLiteral("Usage: %1\n\n%2\n\n%3").arg(usage(), summary(), options);
}

std::optional<qint64> Command::numberOption(const QCommandLineParser& parser, const QCommandLineOption& option,
                                            qint64 lowest, qint64 highest)
{
    const QString name = option.names().constFirst();
    if (!parser.isSet(option))
        return std::nullopt;
    const QString text = parser.value(option);
    const bool digitsAlone = !text.isEmpty() && text.size() <= 18
        && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const qint64 value = digitsAlone ? text.toLongLong() : -1;
    if (value < lowest || value > highest)
        throw Refusal{QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\"")
                          .arg(name, QLocale(QLocale::English).toString(lowest),
                               QLocale(QLocale::English).toString(highest), text)};
    return value;
}

void Command::applyTimeout(const QCommandLineParser& parser)
{
    if (const std::optional<qint64> milliseconds = numberOption(parser, timeoutOption, 1, longestTimeoutMs))
        Preferences::standard().setObject(int(*milliseconds * 1000), QStringLiteral("Timeout"));
}
