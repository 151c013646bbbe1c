#include "prefs/HistoryPreferences.h"

#include "history/HistoryRecords.h"
#include "platform/Preferences.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>

HistoryPreferences::HistoryPreferences(QBoxLayout& layout, int beforeIndex)
{
    auto* group = new QGroupBox(QStringLiteral("History of servers"));
    group->setObjectName(QStringLiteral("historyGroup"));
    auto* form = new QFormLayout(group);
    const QString days = QStringLiteral(" days");
    favouriteDays = fieldOf(QStringLiteral("History days for favourites"), HistoryRetention::longestDays, days, *group);
    scanDays = fieldOf(QStringLiteral("History days for scans"), HistoryRetention::longestDays, days, *group);
    sizeLimit = fieldOf(QStringLiteral("History size limit in MB"), HistoryRetention::largestSizeMegabytes,
                        QStringLiteral(" MB"), *group);
    form->addRow(QStringLiteral("Keep the answers of favourites for:"), favouriteDays.box);
    form->addRow(QStringLiteral("Keep the answers of scans for:"), scanDays.box);
    form->addRow(QStringLiteral("Keep at most:"), sizeLimit.box);
    layout.insertWidget(beforeIndex, group);
}

// A box over the setting's range, with the unit after the number, named after its key
// without blanks.
HistoryPreferences::Field HistoryPreferences::fieldOf(const QString& key, int largest, const QString& suffix,
                                                      QWidget& parent)
{
    auto* box = new QSpinBox(&parent);
    box->setRange(1, largest);
    box->setSuffix(suffix);
    box->setObjectName(QString(key).remove(QLatin1Char(' ')));
    return {box, key};
}

void HistoryPreferences::load()
{
    for (const Field& field : {favouriteDays, scanDays, sizeLimit})
        field.box->setValue(Preferences::standard().integerForKey(field.key));
}

bool HistoryPreferences::store() const
{
    bool stored = true;
    for (const Field& field : {favouriteDays, scanDays, sizeLimit})
        stored &= Preferences::standard().setObject(field.box->value(), field.key);
    return stored;
}
