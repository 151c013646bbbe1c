#include "platform/Setting.h"

#include "platform/TextValue.h"

namespace {

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::optional<QVariant> Setting::valueOf(const QVariant& stored) const
{
    switch (type) {
    case Type::Boolean:
        if (const std::optional<bool> value = booleanOf(stored))
            return QVariant(*value);
        return std::nullopt;
    case Type::Integer:
        return integerOf(stored);
    case Type::NumberedText:
        return numberedTextOf(stored);
    case Type::Text:
        if (const std::optional<QString> text = textOf(stored))
            return QVariant(*text);
        return std::nullopt;
    case Type::Data:
        if (stored.typeId() == QMetaType::QByteArray)
            return stored;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<bool> Setting::booleanOf(const QVariant& stored)
{
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    if (isNumber(stored))
        return stored.toLongLong() != 0;
    const std::optional<QString> text = textOf(stored);
    if (!text)
        return std::nullopt;
    const QString word = text->trimmed().toLower();
    if (word == u"true" || word == u"yes")
        return true;
    if (word == u"false" || word == u"no")
        return false;
    if (const std::optional<int> number = TextValue::leadingInteger(word))
        return *number != 0;
    return std::nullopt;
}

std::optional<QVariant> Setting::integerOf(const QVariant& stored) const
{
    std::optional<qlonglong> number;
    if (isNumber(stored))
        number = stored.toLongLong();
    else if (stored.typeId() == QMetaType::QString)
        number = TextValue::leadingInteger(stored.toString());
    if (!number || !inRange(static_cast<double>(*number)))
        return std::nullopt;
    return QVariant(static_cast<int>(*number));
}

std::optional<QVariant> Setting::numberedTextOf(const QVariant& stored) const
{
    const std::optional<QString> text = textOf(stored);
    if (!text)
        return std::nullopt;
    const std::optional<double> number = TextValue::leadingReal(*text);
    if (!number || !inRange(*number))
        return std::nullopt;
    return QVariant(*text);
}

std::optional<QString> Setting::textOf(const QVariant& stored)
{
    if (stored.typeId() == QMetaType::QString || isNumber(stored))
        return stored.toString();
    return std::nullopt;
}
