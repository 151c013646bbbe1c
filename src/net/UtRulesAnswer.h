#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// The answer of a UT2004 server to the rules query: key/value pairs of strings. Pure:
// bytes in, pairs out.
class UtRulesAnswer {
public:
    struct Rule {
        QString key;
        QString value;
        bool operator==(const Rule&) const = default;
    };

    // The pairs of a whole answer datagram (request bytes included), in answer order,
    // up to the first pair that does not lie wholly within the datagram.
    static QList<Rule> parse(QByteArrayView answer);
};
