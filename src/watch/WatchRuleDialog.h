#pragma once

#include "watch/WatchRule.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QSpinBox;

// The sheet that makes or edits one watch rule: its condition with the name, tag,
// map or number it needs, where it watches, what it does and how often it asks.
// OK is offered once the rule has what its condition needs.
class WatchRuleDialog : public QDialog {
    Q_OBJECT
public:
    explicit WatchRuleDialog(QWidget* parent = nullptr);

    // Shows the rule, offering the addresses (the favourites) for its one server; the
    // sheet then opens with the focus in the first field the rule's condition uses.
    void setRule(const WatchRule& rule, const QStringList& servers);
    // The rule as the controls show it; a rule that was paused stays paused.
    WatchRule rule() const;

private:
    void addControls();
    // Enables the controls the chosen condition uses, and OK when the rule is complete.
    void updateUI();
    void focusFirstField();

    QComboBox* conditionBox = nullptr;
    QLineEdit* textField = nullptr;
    QSpinBox* countBox = nullptr;
    QComboBox* scopeBox = nullptr;
    QComboBox* serverBox = nullptr;
    QCheckBox* notifyBox = nullptr;
    QCheckBox* alertBox = nullptr;
    QCheckBox* joinBox = nullptr;
    QCheckBox* joinWithoutAskingBox = nullptr;
    QSpinBox* intervalBox = nullptr;
    QDialogButtonBox* buttons = nullptr;
    bool paused = false;
};
