#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <mutex>

class QSettings;

// The per-user preference store: registered defaults held in memory (never written),
// and the values the user set, kept in an INI file readable by the user alone since
// it holds rcon passwords. Safe to use from any thread.
class Preferences {
public:
    // A store kept in the given file.
    explicit Preferences(const QString& filePath);
    ~Preferences();

    // The process-wide store: ~/.config/Zorvel/Zorvel.conf unless another was installed.
    static Preferences& standard();
    // Replaces the process-wide store (tests point it at a file of their own).
    static void installStandard(std::unique_ptr<Preferences> preferences);
    static QString defaultFilePath();

    void registerDefaults(const QVariantMap& defaults);
    // The registered default of the key, whatever the user stored under it.
    QVariant registeredDefaultForKey(const QString& key) const;

    QVariant objectForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    int integerForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    QByteArray dataForKey(const QString& key) const;
    // The delay in seconds between two console commands sent in a row, from the
    // setting "Latency for double command".
    double doubleCommandLatency() const;

    void setObject(const QVariant& value, const QString& key);
    void removeObjectForKey(const QString& key);

    QString filePath() const;

private:
    void restrictFileToUser() const;

    mutable std::mutex storeLock;
    std::unique_ptr<QSettings> settings;
    QVariantMap registeredDefaults;
};
