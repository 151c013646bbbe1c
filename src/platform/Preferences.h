#pragma once

#include "platform/Setting.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <mutex>
#include <optional>

class QSettings;

// The per-user preference store: registered settings held in memory (never written),
// and the values the user set, kept in an INI file readable by the user alone since
// it holds rcon passwords. Safe to use from any thread.
//
// A stored value of a registered setting that lies outside its type or range reads as
// the setting's default, with one log line. A settings file with lines its reader
// cannot take is never written before a dated copy of it exists beside it.
class Preferences {
public:
    enum class Access {
        ReadWrite,
        // The file is read as it is and never written, created or copied: what is set
        // is kept in memory for this run alone. The commands of the command line use it.
        ReadOnly,
    };

    // A store kept in the given file.
    explicit Preferences(const QString& filePath, Access access = Access::ReadWrite);
    ~Preferences();

    // The process-wide store: ~/.config/Zorvel/Zorvel.conf unless another was installed.
    static Preferences& standard();
    // Replaces the process-wide store (tests point it at a file of their own).
    static void installStandard(std::unique_ptr<Preferences> preferences);
    static QString defaultFilePath();

    void registerDefaults(const QList<Setting>& settings);
    // The registered default of the key, whatever the user stored under it.
    QVariant registeredDefaultForKey(const QString& key) const;

    // The value in effect: what the user stored, unless that is outside the registered
    // type or range of the key, else its registered default.
    QVariant objectForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    int integerForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    QByteArray dataForKey(const QString& key) const;
    // The texts of a stored list, in order; none when the value is not a list of
    // texts. The store gives a list of one text back as a plain text.
    QStringList stringListForKey(const QString& key) const;
    // The delay in seconds between two console commands sent in a row, from the
    // setting "Latency for double command".
    double doubleCommandLatency() const;
    // What the file holds under the key as bytes, unchecked; nothing when the key is
    // not stored. A value that is not bytes gives its text; bytes cut short in the
    // file, which its reader then gives as text, give the bytes up to the cut.
    std::optional<QByteArray> storedBytesForKey(const QString& key) const;

    // Stores the value. False when it could not be written (a file that cannot be
    // written, a full disk, or a damaged file of which no copy could be kept): the
    // key then reads as it did before. A read-only store keeps it in memory.
    bool setObject(const QVariant& value, const QString& key);

    QString filePath() const;
    // Whether the file had lines its reader could not take when it was opened.
    bool fileWasDamaged() const;
    // The copy kept of the damaged file, or nothing while none could be written.
    std::optional<QString> damagedFileCopy() const;

private:
    void open();
    // Keeps the dated copy of a damaged file once; false while it cannot be written.
    bool keepCopyOfDamagedFile();
    void liftDisplacedKeys();
    // Writes the pending changes; false when the file was not written.
    bool sync();
    void forgetRefusedValue(const QString& key, const QVariant& previous);
    QVariant valueInEffect(const QString& key) const;
    QVariant storedValue(const QString& key) const;

    mutable std::mutex storeLock;
    const Access access;
    QString path;
    // What was set in a read-only store, above what its file holds.
    QHash<QString, QVariant> valuesOfThisRun;
    std::unique_ptr<QSettings> settings;
    QHash<QString, Setting> registeredSettings;
    // The keys whose stored value was found outside its type or range and logged.
    mutable QSet<QString> keysLoggedAsOutside;
    std::optional<QByteArray> damagedFileContent;
    std::optional<QString> damagedFileCopyPath;
    // The reader met a fault when it last wrote.
    bool faultMet = false;
};
