#include "finders/GameChoices.h"

void GameChoices::add(const QString& gametype, const QString& map)
{
    gametypeTexts.add(gametype);
    mapTexts.add(map);
}

void GameChoices::DistinctTexts::add(const QString& text)
{
    const QString lowercase = text.toLower();
    if (lowercase.isEmpty() || seen.contains(lowercase))
        return;
    seen.insert(lowercase);
    texts.append(lowercase);
}
