#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One JSON object written in the order its members are added (a QJsonObject sorts
// them), as UTF-8 text without line ends. A member whose value is nothing is written
// as null.
class JsonObject {
public:
    JsonObject& addText(const QString& key, const std::optional<QString>& value);
    JsonObject& addInteger(const QString& key, std::optional<qint64> value);
    JsonObject& addBoolean(const QString& key, std::optional<bool> value);
    JsonObject& addReal(const QString& key, double value);
    // A value already written as JSON: an object, an array or a number.
    JsonObject& addJson(const QString& key, const QByteArray& json);

    QByteArray json() const { return "{" + members + "}"; }

    // The text as a JSON string, quotes included. Every character that JSON asks to
    // escape is escaped; a lone UTF-16 surrogate, which UTF-8 cannot hold, becomes
    // U+FFFD, so the result is always valid UTF-8.
    static QByteArray quoted(const QString& text);
    // The values as a JSON array.
    static QByteArray array(const QList<QByteArray>& values);

private:
    QByteArray members;
};
