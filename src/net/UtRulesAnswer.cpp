#include "net/UtRulesAnswer.h"

#include "net/UtAnswerReader.h"
#include "net/UtProtocol.h"

QList<UtRulesAnswer::Rule> UtRulesAnswer::parse(QByteArrayView answer)
{
    QList<Rule> rules;
    UtAnswerReader reader(answer, UtProtocol::requestLength);
    while (!reader.atEnd()) {
        const std::optional<QString> key = reader.readString();
        const std::optional<QString> value = key ? reader.readString() : std::nullopt;
        if (!value)
            break;
        rules.append({*key, *value});
    }
    return rules;
}
