#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// A registered setting: its key, the default it reads as when the user stored nothing
// usable under it, the type its stored value must have and, for numbers, their range.
// Numbers are read from texts by the integer-value rule: blanks, an optional sign and
// the digits that follow; what follows them is ignored ("500 ms" reads 500), but a
// text without those digits ("abc", "") is not a number at all.
struct Setting {
    enum class Type {
        // "true" or "false", "yes" or "no" in any case, or a number: true when not 0.
        Boolean,
        // A whole number from minimum to maximum.
        Integer,
        // A text that begins with a number from minimum to maximum ("500 ms").
        NumberedText,
        // Any one text.
        Text,
        // Bytes.
        Data,
    };

    QString key;
    QVariant defaultValue;
    Type type = Type::Text;
    int minimum = 0;
    int maximum = 0;

    // The stored value as this setting's type (a bool, an int, a text or bytes), or
    // nothing when it lies outside the type or the range.
    std::optional<QVariant> valueOf(const QVariant& stored) const;
    // A stored value read as a Boolean setting reads it, or nothing when it is none.
    static std::optional<bool> booleanOf(const QVariant& stored);

private:
    bool inRange(double number) const { return number >= minimum && number <= maximum; }
    std::optional<QVariant> integerOf(const QVariant& stored) const;
    std::optional<QVariant> numberedTextOf(const QVariant& stored) const;
    static std::optional<QString> textOf(const QVariant& stored);
};
