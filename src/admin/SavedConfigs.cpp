#include "admin/SavedConfigs.h"

#include "platform/Alerts.h"
#include "platform/Preferences.h"
#include "platform/PrivateFile.h"

namespace {

const QString myConfigsKey = QStringLiteral("myConfigs");

}  // namespace

SavedConfigs::SavedConfigs()
{
    for (const ConfigForRotation& config : storedList())
        m_names.append(config.configName());
}

bool SavedConfigs::save(const QString& name, const QList<MapForRotation>& rotation)
{
    if (rotation.isEmpty())
        return false;
    const QString configName = name.isEmpty() ? generatedName(m_names) : name;
    const qsizetype index = m_names.indexOf(configName);
    QList<ConfigForRotation> configs = storedList();
    if (index >= configs.size())
        return false;
    if (index >= 0)
        configs[index].setTheMapForRotation(rotation);
    else
        configs.append(ConfigForRotation(configName, rotation));
    if (!store(configs))
        return false;
    if (index < 0)
        m_names.append(configName);
    return true;
}

std::optional<QList<MapForRotation>> SavedConfigs::recall(const QString& name) const
{
    const QList<ConfigForRotation> configs = storedList();
    const qsizetype index = storedIndexOf(name, configs);
    if (index < 0)
        return std::nullopt;
    return configs.at(index).theMapForRotation();
}

bool SavedConfigs::remove(const QString& name)
{
    QList<ConfigForRotation> configs = storedList();
    const qsizetype index = storedIndexOf(name, configs);
    if (index < 0)
        return false;
    configs.removeAt(index);
    if (!store(configs))
        return false;
    m_names.removeAt(index);
    return true;
}

QString SavedConfigs::generatedName(const QStringList& names)
{
    for (int i = 1;; ++i) {
        const QString name = QStringLiteral("Config %1").arg(i);
        if (!names.contains(name))
            return name;
    }
}

qsizetype SavedConfigs::storedIndexOf(const QString& name, const QList<ConfigForRotation>& configs) const
{
    const qsizetype index = m_names.indexOf(name);
    return index < configs.size() ? index : -1;
}

QList<ConfigForRotation> SavedConfigs::storedList()
{
    const QByteArray stored = Preferences::standard().dataForKey(myConfigsKey);
    return ConfigForRotation::unarchiveList(stored).value_or(QList<ConfigForRotation>());
}

bool SavedConfigs::store(const QList<ConfigForRotation>& configs)
{
    if (keepCopyOfDamagedValue()
        && Preferences::standard().setObject(ConfigForRotation::archiveList(configs), myConfigsKey))
        return true;
    Alerts::current().reportUnstored(QStringLiteral("Game Rotation"), QStringLiteral("The saved rotations"));
    return false;
}

bool SavedConfigs::keepCopyOfDamagedValue()
{
    const Preferences& preferences = Preferences::standard();
    const std::optional<QByteArray> stored = preferences.storedBytesForKey(myConfigsKey);
    if (!stored || ConfigForRotation::unarchiveList(*stored))
        return true;
    const std::optional<QString> copy =
        PrivateFile::keepDatedCopy(preferences.filePath(), QStringLiteral("rotations"), *stored);
    if (!copy)
        return false;
    Alerts::current().runAlert(QStringLiteral("Damaged saved rotations"),
                               QStringLiteral("The saved rotations could not be read. A copy of them as they were is "
                                              "kept in %1.")
                                   .arg(*copy),
                               QStringLiteral("OK"));
    return true;
}
