#include "net/MasterOutcome.h"

#include "platform/CountText.h"

QString MasterOutcome::text() const
{
    switch (kind) {
    case Kind::Listed:
        return QStringLiteral("listed %1").arg(CountText::number(listed));
    case Kind::MayBeIncomplete:
        return QStringLiteral("listed %1, list may be incomplete").arg(CountText::number(listed));
    case Kind::NoAnswer:
        return QStringLiteral("no answer");
    case Kind::HostNotFound:
        return QStringLiteral("host not found");
    }
    return {};
}
