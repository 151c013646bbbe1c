#pragma once

#include <QString>

class QBoxLayout;
class QSpinBox;
class QWidget;

// The preferences panel's group for the history of servers: how many days it keeps
// the answers of favourites and of scans, and how large it may grow. The panel loads
// and stores it with its other controls; the history applies it at its next pruning.
class HistoryPreferences {
public:
    // Adds the group to the layout, before the item at the index.
    HistoryPreferences(QBoxLayout& layout, int beforeIndex);

    void load();
    // False when a value could not be written.
    bool store() const;

private:
    struct Field {
        QSpinBox* box;
        QString key;
    };

    static Field fieldOf(const QString& key, int largest, const QString& suffix, QWidget& parent);

    Field favouriteDays;
    Field scanDays;
    Field sizeLimit;
};
