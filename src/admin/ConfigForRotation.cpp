#include "admin/ConfigForRotation.h"

#include "model/ArchiveStream.h"

namespace {

// An entry is at least two 4-byte string lengths; a configuration at least a name
// length and an entry count.
constexpr qint64 smallestEntryBytes = 8;
constexpr qint64 smallestConfigBytes = 8;

}  // namespace

ConfigForRotation::ConfigForRotation()
    : ConfigForRotation(QStringLiteral("Config"), {MapForRotation()})
{
}

ConfigForRotation::ConfigForRotation(const QString& configName, const QList<MapForRotation>& rotation)
    : m_configName(configName), m_theMapForRotation(rotation)
{
}

void ConfigForRotation::encodeWithCoder(QDataStream& out) const
{
    out << m_configName << quint32(m_theMapForRotation.size());
    for (const MapForRotation& entry : m_theMapForRotation)
        entry.encodeWithCoder(out);
}

bool ConfigForRotation::initWithCoder(QDataStream& in)
{
    QString name;
    in >> name;
    const std::optional<quint32> count = ArchiveStream::readCount(in, smallestEntryBytes);
    if (!count)
        return false;
    QList<MapForRotation> rotation(*count);
    for (MapForRotation& entry : rotation)
        entry.initWithCoder(in);
    setConfigName(name);
    setTheMapForRotation(rotation);
    return in.status() == QDataStream::Ok;
}

QByteArray ConfigForRotation::archiveList(const QList<ConfigForRotation>& configs)
{
    return ArchiveStream::archived([&configs](QDataStream& out) {
        out << quint32(configs.size());
        for (const ConfigForRotation& config : configs)
            config.encodeWithCoder(out);
    });
}

std::optional<QList<ConfigForRotation>> ConfigForRotation::unarchiveList(const QByteArray& data)
{
    QDataStream in(data);
    in.setVersion(ArchiveStream::version);
    const std::optional<quint32> count = ArchiveStream::readCount(in, smallestConfigBytes);
    if (!count)
        return std::nullopt;
    QList<ConfigForRotation> configs(*count);
    for (ConfigForRotation& config : configs)
        if (!config.initWithCoder(in))
            return std::nullopt;
    if (!ArchiveStream::consumedWhole(in))
        return std::nullopt;
    return configs;
}
