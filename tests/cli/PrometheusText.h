#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>
#include <vector>

// A strict reader of the Prometheus text format (version 0.0.4) for the exporter's
// tests: every line is a HELP or TYPE comment or a sample, every sample belongs to a
// family whose TYPE came before it, label values are read with their escapes, and
// nothing else is accepted.
class PrometheusText {
public:
    struct Sample {
        QString name;
        QMap<QString, QString> labels;
        double value = 0;
    };

    // The samples, or nothing when the text breaks a rule; the rule is in `problem`.
    static std::optional<std::vector<Sample>> parse(const QByteArray& text, QString* problem);
};
