#include "cli/PrometheusText.h"

#include <QRegularExpression>
#include <QSet>

namespace {

const QRegularExpression metricName(QStringLiteral("^[a-zA-Z_:][a-zA-Z0-9_:]*$"));
const QRegularExpression labelName(QStringLiteral("^[a-zA-Z_][a-zA-Z0-9_]*$"));

// Reads `name="value",...}` from the position after the opening brace; returns the
// position after the closing brace, or nothing.
std::optional<qsizetype> readLabels(const QString& line, qsizetype at, QMap<QString, QString>& labels)
{
    while (at < line.size() && line.at(at) != u'}') {
        const qsizetype equals = line.indexOf(u'=', at);
        if (equals < 0 || equals + 1 >= line.size() || line.at(equals + 1) != u'"')
            return std::nullopt;
        const QString name = line.mid(at, equals - at);
        if (!labelName.match(name).hasMatch() || labels.contains(name))
            return std::nullopt;
        QString value;
        qsizetype i = equals + 2;
        for (; i < line.size() && line.at(i) != u'"'; ++i) {
            if (line.at(i) != u'\\') {
                value += line.at(i);
                continue;
            }
            if (++i >= line.size())
                return std::nullopt;
            const QChar escaped = line.at(i);
            if (escaped == u'n')
                value += u'\n';
            else if (escaped == u'\\' || escaped == u'"')
                value += escaped;
            else
                return std::nullopt;
        }
        if (i >= line.size())
            return std::nullopt;
        labels.insert(name, value);
        at = i + 1;
        if (at < line.size() && line.at(at) == u',')
            ++at;
    }
    return at < line.size() ? std::optional(at + 1) : std::nullopt;
}

}  // namespace

std::optional<std::vector<PrometheusText::Sample>> PrometheusText::parse(const QByteArray& text, QString* problem)
{
    std::vector<Sample> samples;
    QSet<QString> typed;
    const auto fail = [problem](const QString& line, const char* rule) {
        *problem = QStringLiteral("%1: %2").arg(QString::fromLatin1(rule), line);
        return std::nullopt;
    };
    if (!text.endsWith('\n'))
        return fail({}, "the text does not end with a line feed");
    for (const QString& line : QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QStringLiteral("# HELP ")))
            continue;
        if (line.startsWith(QStringLiteral("# TYPE "))) {
            const QStringList parts = line.split(u' ');
            if (parts.size() != 4 || !metricName.match(parts.at(2)).hasMatch() || parts.at(3) != QStringLiteral("gauge"))
                return fail(line, "a TYPE line names a gauge");
            typed.insert(parts.at(2));
            continue;
        }
        Sample sample;
        const qsizetype nameEnd = line.indexOf(QRegularExpression(QStringLiteral("[{ ]")));
        if (nameEnd < 0)
            return fail(line, "a sample has a value");
        sample.name = line.left(nameEnd);
        if (!metricName.match(sample.name).hasMatch() || !typed.contains(sample.name))
            return fail(line, "a sample's family has a TYPE before it");
        qsizetype at = nameEnd;
        if (line.at(at) == u'{') {
            const std::optional<qsizetype> afterLabels = readLabels(line, at + 1, sample.labels);
            if (!afterLabels)
                return fail(line, "labels are name=\"value\" pairs");
            at = *afterLabels;
        }
        bool isNumber = false;
        if (at < line.size() && line.at(at) == u' ')
            sample.value = line.mid(at + 1).toDouble(&isNumber);
        if (!isNumber)
            return fail(line, "a sample ends with a blank and its value");
        samples.push_back(sample);
    }
    return samples;
}
