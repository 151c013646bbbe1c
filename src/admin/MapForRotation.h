#pragma once

#include <QString>
#include <QStringList>

class QDataStream;

// One entry of a game rotation: a map and the gametype to play on it.
class MapForRotation {
public:
    MapForRotation();
    MapForRotation(const QString& mapName, const QString& gametype);

    QString mapName() const { return m_mapName; }
    void setMapName(const QString& value) { m_mapName = value; }
    QString gametype() const { return m_gametype; }
    void setGametype(const QString& value) { m_gametype = value; }

    bool operator==(const MapForRotation& other) const = default;

    // True when the server's map listing holds this entry's map: the editor shows the
    // other entries in red, leaves them out of the command and cleans them away.
    bool isOnServer(const QStringList& serverMaps) const { return serverMaps.contains(m_mapName); }

    // The archived form: the map name, then the gametype.
    void encodeWithCoder(QDataStream& out) const;
    void initWithCoder(QDataStream& in);

private:
    QString m_mapName;
    QString m_gametype;
};
