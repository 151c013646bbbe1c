#include "cli/JsonObject.h"

namespace {

const QByteArray null = QByteArrayLiteral("null");

// The escape of a character that JSON does not allow as it is, or nothing.
std::optional<QString> escapeOf(QChar c)
{
    switch (c.unicode()) {
    case u'"': return QStringLiteral("\\\"");
    case u'\\': return QStringLiteral("\\\\");
    case u'\b': return QStringLiteral("\\b");
    case u'\f': return QStringLiteral("\\f");
    case u'\n': return QStringLiteral("\\n");
    case u'\r': return QStringLiteral("\\r");
    case u'\t': return QStringLiteral("\\t");
    default: break;
    }
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
        return QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return std::nullopt;
}

}  // namespace

JsonObject& JsonObject::addText(const QString& key, const std::optional<QString>& value)
{
    return addJson(key, value ? quoted(*value) : null);
}

JsonObject& JsonObject::addInteger(const QString& key, std::optional<qint64> value)
{
    return addJson(key, value ? QByteArray::number(*value) : null);
}

JsonObject& JsonObject::addBoolean(const QString& key, std::optional<bool> value)
{
    return addJson(key, value ? QByteArray(*value ? "true" : "false") : null);
}

JsonObject& JsonObject::addReal(const QString& key, double value)
{
    return addJson(key, QByteArray::number(value, 'f', 3));
}

JsonObject& JsonObject::addJson(const QString& key, const QByteArray& json)
{
    if (!members.isEmpty())
        members += ", ";
    members += quoted(key) + ": " + json;
    return *this;
}

QByteArray JsonObject::quoted(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped += u'"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            escaped += c;
            escaped += text.at(++i);
        } else if (c.isSurrogate()) {
            escaped += QChar::ReplacementCharacter;
        } else if (const std::optional<QString> escape = escapeOf(c)) {
            escaped += *escape;
        } else {
            escaped += c;
        }
    }
    escaped += u'"';
    return escaped.toUtf8();
}

QByteArray JsonObject::array(const QList<QByteArray>& values)
{
    return "[" + values.join(", ") + "]";
}
