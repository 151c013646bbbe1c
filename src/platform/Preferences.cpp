#include "platform/Preferences.h"

#include "platform/IniFileCheck.h"
#include "platform/PrivateFile.h"
#include "platform/ReplaceableInstance.h"
#include "platform/TextValue.h"

#include <QDebug>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

ReplaceableInstance<Preferences>& theStandardStore()
{
    static ReplaceableInstance<Preferences> store(
        [] { return std::make_unique<Preferences>(Preferences::defaultFilePath()); });
    return store;
}

// The INI reader gives bytes back only when their "@ByteArray(...)" form is whole;
// cut short, it gives that form as text, one character per byte. The last byte may
// come from an escape cut in the middle, so it is not kept.
std::optional<QByteArray> bytesCutShort(const QString& text)
{
    static const QString byteArrayForm = QStringLiteral("@ByteArray(");
    if (!text.startsWith(byteArrayForm))
        return std::nullopt;
    return text.mid(byteArrayForm.size()).toLatin1().chopped(text.size() > byteArrayForm.size() ? 1 : 0);
}

}  // namespace

Preferences::Preferences(const QString& filePath, Access access)
    : access(access)
    , path(filePath)
{
    if (access == Access::ReadWrite)
        PrivateFile::createEmpty(filePath);
    open();
    const QByteArray content = PrivateFile::contentOf(filePath);
    if (settings->status() == QSettings::FormatError || IniFileCheck::droppedLines(content) > 0) {
        qWarning().noquote() << "The settings file" << filePath << "has lines that cannot be read";
        damagedFileContent = content;
        if (access == Access::ReadWrite)
            keepCopyOfDamagedFile();
    }
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

void Preferences::open()
{
    settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    faultMet = false;
}

bool Preferences::keepCopyOfDamagedFile()
{
    if (!damagedFileContent || damagedFileCopyPath)
        return true;
    damagedFileCopyPath = PrivateFile::keepDatedCopy(path, QStringLiteral("settings"), *damagedFileContent);
    if (!damagedFileCopyPath) {
        qWarning().noquote() << "No copy of the damaged settings file" << path
                             << "could be kept: it is not written";
        return false;
    }
    liftDisplacedKeys();
    // The reader writes a file only when a key changed: setting one to its own value
    // makes it write the whole file anew, in a form it reads back without a fault.
    const QStringList keys = settings->allKeys();
    if (keys.isEmpty())
        PrivateFile::write(path, {});
    else
        settings->setValue(keys.first(), settings->value(keys.first()));
    sync();
    // A fresh reader forgets the fault it met, which would otherwise hide the next
    // write's failure.
    open();
    return true;
}

// A section header without its closing bracket puts every key after it into a
// section of its own. Zorvel writes no sections: each key in one is one of its own,
// unless the file holds that key already.
void Preferences::liftDisplacedKeys()
{
    for (const QString& key : settings->allKeys()) {
        if (!key.contains(u'/'))
            continue;
        const QString ownKey = key.section(u'/', -1);
        if (!settings->contains(ownKey))
            settings->setValue(ownKey, settings->value(key));
        settings->remove(key);
    }
}

void Preferences::registerDefaults(const QList<Setting>& settingsToRegister)
{
    std::lock_guard guard(storeLock);
    for (const Setting& setting : settingsToRegister)
        registeredSettings.insert(setting.key, setting);
}

QVariant Preferences::registeredDefaultForKey(const QString& key) const
{
    std::lock_guard guard(storeLock);
    return registeredSettings.value(key).defaultValue;
}

QVariant Preferences::objectForKey(const QString& key) const
{
    std::lock_guard guard(storeLock);
    return valueInEffect(key);
}

QVariant Preferences::storedValue(const QString& key) const
{
    const auto ofThisRun = valuesOfThisRun.constFind(key);
    return ofThisRun == valuesOfThisRun.cend() ? settings->value(key) : *ofThisRun;
}

QVariant Preferences::valueInEffect(const QString& key) const
{
    const QVariant stored = storedValue(key);
    const auto registered = registeredSettings.constFind(key);
    if (registered == registeredSettings.cend())
        return stored;
    if (!stored.isValid())
        return registered->defaultValue;
    if (const std::optional<QVariant> value = registered->valueOf(stored))
        return *value;
    if (!keysLoggedAsOutside.contains(key)) {
        keysLoggedAsOutside.insert(key);
        qWarning().noquote() << "The setting" << key << "holds" << stored.toString()
                             << "which is outside its type or range: it reads as its default"
                             << registered->defaultValue.toString();
    }
    return registered->defaultValue;
}

bool Preferences::boolForKey(const QString& key) const
{
    return Setting::booleanOf(objectForKey(key)).value_or(false);
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

QStringList Preferences::stringListForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    switch (value.typeId()) {
    case QMetaType::QStringList:
        return value.toStringList();
    case QMetaType::QString:
        return {value.toString()};
    case QMetaType::QVariantList: {
        QStringList texts;
        for (const QVariant& item : value.toList()) {
            if (item.typeId() != QMetaType::QString)
                return {};
            texts.append(item.toString());
        }
        return texts;
    }
    default:
        return {};
    }
}

double Preferences::doubleCommandLatency() const
{
    return TextValue::doubleCommandLatency(stringForKey(QStringLiteral("Latency for double command")));
}

std::optional<QByteArray> Preferences::storedBytesForKey(const QString& key) const
{
    std::lock_guard guard(storeLock);
    const QVariant stored = storedValue(key);
    if (!stored.isValid())
        return std::nullopt;
    if (stored.typeId() == QMetaType::QByteArray)
        return stored.toByteArray();
    const QString text = stored.typeId() == QMetaType::QStringList ? stored.toStringList().join(QStringLiteral(", "))
                                                                   : stored.toString();
    return bytesCutShort(text).value_or(text.toUtf8());
}

bool Preferences::setObject(const QVariant& value, const QString& key)
{
    std::lock_guard guard(storeLock);
    if (access == Access::ReadOnly) {
        valuesOfThisRun.insert(key, value);
        keysLoggedAsOutside.remove(key);
        return true;
    }
    if (!keepCopyOfDamagedFile() || !settings->isWritable())
        return false;
    // A reader keeps the first fault it met, which would hide how this write went.
    if (faultMet)
        open();
    const QVariant previous = settings->value(key);
    settings->setValue(key, value);
    if (!sync()) {
        forgetRefusedValue(key, previous);
        return false;
    }
    keysLoggedAsOutside.remove(key);
    return true;
}

// Qt keeps a file's unwritten changes in a cache that every reader of the file shares,
// a fresh one too: the refused value would go into the file with the next write. The
// key gets back what it held, which that write then stores again.
void Preferences::forgetRefusedValue(const QString& key, const QVariant& previous)
{
    if (previous.isValid())
        settings->setValue(key, previous);
    else
        settings->remove(key);
}

bool Preferences::sync()
{
    settings->sync();
    if (settings->status() == QSettings::AccessError) {
        qWarning().noquote() << "The settings file" << path << "could not be written";
        faultMet = true;
        return false;
    }
    PrivateFile::restrictToOwner(path);
    return true;
}

QString Preferences::filePath() const
{
    return path;
}

bool Preferences::fileWasDamaged() const
{
    std::lock_guard guard(storeLock);
    return damagedFileContent.has_value();
}

std::optional<QString> Preferences::damagedFileCopy() const
{
    std::lock_guard guard(storeLock);
    return damagedFileCopyPath;
}
