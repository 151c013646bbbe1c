#include "finders/GameChoices.h"

#include "finders/ServerFilter.h"

#include <QSet>

namespace {

// The distinct non-empty texts in lowercase, in order of first appearance, after "All".
class DistinctTexts {
public:
    void add(const QString& text)
    {
        const QString lowercase = text.toLower();
        if (lowercase.isEmpty() || seen.contains(lowercase))
            return;
        seen.insert(lowercase);
        texts.append(lowercase);
    }

    QStringList texts{ServerFilter::all};

private:
    QSet<QString> seen;
};

}  // namespace

GameChoices GameChoices::of(const QList<CodServerPtr>& servers)
{
    DistinctTexts gametypes;
    DistinctTexts maps;
    for (const CodServerPtr& server : servers) {
        gametypes.add(server->serverGametype());
        maps.add(server->serverMapName());
    }
    return {gametypes.texts, maps.texts};
}
