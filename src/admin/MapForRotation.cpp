#include "admin/MapForRotation.h"

#include <QDataStream>

MapForRotation::MapForRotation()
    : MapForRotation(QStringLiteral("Map"), QStringLiteral("Gametype"))
{
}

MapForRotation::MapForRotation(const QString& mapName, const QString& gametype)
    : m_mapName(mapName), m_gametype(gametype)
{
}

void MapForRotation::encodeWithCoder(QDataStream& out) const
{
    out << m_mapName << m_gametype;
}

void MapForRotation::initWithCoder(QDataStream& in)
{
    QString mapName;
    QString gametype;
    in >> mapName >> gametype;
    setMapName(mapName);
    setGametype(gametype);
}
