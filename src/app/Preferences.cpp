#include "app/Preferences.h"

#include "model/ReplaceableInstance.h"
#include "model/TextValue.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ReplaceableInstance<Preferences>& theStandardStore()
{
    static ReplaceableInstance<Preferences> store(
        [] { return std::make_unique<Preferences>(Preferences::defaultFilePath()); });
    return store;
}

constexpr mode_t userOnly = S_IRUSR | S_IWUSR;

// Creates the file empty with mode 0600 when it does not exist yet, so that the
// settings are never readable by others, not even for an instant.
void createPrivateFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, userOnly);
    if (fd >= 0)
        ::close(fd);
}

bool boolOfText(const QString& text)
{
    const QString word = text.trimmed().toLower();
    if (word == u"true" || word == u"yes")
        return true;
    return TextValue::integerValue(word) != 0;
}

}  // namespace

Preferences::Preferences(const QString& filePath)
{
    createPrivateFile(filePath);
    settings = std::make_unique<QSettings>(filePath, QSettings::IniFormat);
}

Preferences::~Preferences() = default;

QString Preferences::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Zorvel/Zorvel.conf");
}

Preferences& Preferences::standard()
{
    return theStandardStore().current();
}

void Preferences::installStandard(std::unique_ptr<Preferences> preferences)
{
    theStandardStore().install(std::move(preferences));
}

void Preferences::registerDefaults(const QVariantMap& defaults)
{
    std::lock_guard guard(storeLock);
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        registeredDefaults.insert(it.key(), it.value());
}

QVariant Preferences::registeredDefaultForKey(const QString& key) const
{
    std::lock_guard guard(storeLock);
    return registeredDefaults.value(key);
}

QVariant Preferences::objectForKey(const QString& key) const
{
    std::lock_guard guard(storeLock);
    const QVariant stored = settings->value(key);
    return stored.isValid() ? stored : registeredDefaults.value(key);
}

bool Preferences::boolForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    return boolOfText(value.toString());
}

int Preferences::integerForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    return TextValue::integerValue(value.toString());
}

QString Preferences::stringForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    return value.canConvert<QString>() ? value.toString() : QString();
}

QByteArray Preferences::dataForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

double Preferences::doubleCommandLatency() const
{
    return TextValue::doubleCommandLatency(stringForKey(QStringLiteral("Latency for double command")));
}

void Preferences::setObject(const QVariant& value, const QString& key)
{
    std::lock_guard guard(storeLock);
    settings->setValue(key, value);
    settings->sync();
    restrictFileToUser();
}

void Preferences::removeObjectForKey(const QString& key)
{
    std::lock_guard guard(storeLock);
    settings->remove(key);
    settings->sync();
    restrictFileToUser();
}

QString Preferences::filePath() const
{
    std::lock_guard guard(storeLock);
    return settings->fileName();
}

void Preferences::restrictFileToUser() const
{
    ::chmod(QFile::encodeName(settings->fileName()).constData(), userOnly);
}
