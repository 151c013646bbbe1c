#pragma once

#include "admin/MapForRotation.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// A rotation the user saved under a name.
class ConfigForRotation {
public:
    ConfigForRotation();
    ConfigForRotation(const QString& configName, const QList<MapForRotation>& rotation);

    QString configName() const { return m_configName; }
    void setConfigName(const QString& value) { m_configName = value; }
    QList<MapForRotation> theMapForRotation() const { return m_theMapForRotation; }
    void setTheMapForRotation(const QList<MapForRotation>& value) { m_theMapForRotation = value; }

    // The stored value of "myConfigs": the list of configurations, each its name then
    // its entries in rotation order.
    static QByteArray archiveList(const QList<ConfigForRotation>& configs);
    // The list read back, or nothing when the bytes are damaged or truncated.
    static std::optional<QList<ConfigForRotation>> unarchiveList(const QByteArray& data);

private:
    void encodeWithCoder(QDataStream& out) const;
    bool initWithCoder(QDataStream& in);

    QString m_configName;
    QList<MapForRotation> m_theMapForRotation;
};
