#include "admin/SavedConfigs.h"

#include "app/Preferences.h"

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
    if (index >= 0) {
        configs[index].setTheMapForRotation(rotation);
    } else {
        configs.append(ConfigForRotation(configName, rotation));
        m_names.append(configName);
    }
    store(configs);
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
    m_names.removeAt(index);
    store(configs);
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

void SavedConfigs::store(const QList<ConfigForRotation>& configs)
{
    Preferences::standard().setObject(ConfigForRotation::archiveList(configs), myConfigsKey);
}
