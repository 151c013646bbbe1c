#pragma once

#include "admin/ConfigForRotation.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The user's named rotations, kept under "myConfigs" in the preference store, and
// their names as the editor's configuration list shows them. The names are read once
// and then kept in step with the stored list, so that a name's position among them is
// its configuration's position in the store: every operation finds its configuration
// by that position. A stored value that cannot be decoded reads as an empty list; the
// first save copies it into a dated file beside the settings, and tells the user
// where, before anything replaces it.
class SavedConfigs {
public:
    // Reads the names of the stored configurations.
    SavedConfigs();

    const QStringList& names() const { return m_names; }
    bool contains(const QString& name) const { return m_names.contains(name); }

    // Stores the rotation under the name, or under the first free "Config %i" when the
    // name is empty: over the entries of a configuration of that name, else as a new
    // configuration at the end. False, with nothing stored, for an empty rotation, a
    // name whose configuration is no longer in the store, or a failed write (an
    // alert tells the user).
    bool save(const QString& name, const QList<MapForRotation>& rotation);
    // The entries stored under the name, or nothing when the name is not listed or
    // its configuration is not in the store.
    std::optional<QList<MapForRotation>> recall(const QString& name) const;
    // Removes the configuration of the name from the store and from the names. False,
    // with nothing changed, when the name is not listed, its configuration is not in
    // the store, or the write failed (an alert tells the user).
    bool remove(const QString& name);

    // "Config 1", "Config 2", ...: the first that is not among the names.
    static QString generatedName(const QStringList& names);

private:
    // The position of the name's configuration in the stored list, or -1 when the
    // name is not listed or the list does not reach that far.
    qsizetype storedIndexOf(const QString& name, const QList<ConfigForRotation>& configs) const;
    static QList<ConfigForRotation> storedList();
    // Writes the list; false, after an alert, when it could not be written or when a
    // damaged stored value could not be copied first.
    static bool store(const QList<ConfigForRotation>& configs);
    // Copies a stored value that cannot be decoded beside the settings and tells the
    // user where; false, after an alert, when no copy could be written.
    static bool keepCopyOfDamagedValue();

    QStringList m_names;
};
