#pragma once

#include "watch/WatchRule.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QPushButton;
class QTableWidget;
class WatchRuleDialog;

// The Watch window: the watch rules, one a row, with a check box that pauses or
// resumes each, and the buttons that add, edit and remove them. While the main
// window's player alert is armed it shows as the first row, the simplest rule, which
// is changed in the main window alone. Every change the user makes goes out as the
// whole new list.
class WatchWindow : public QWidget {
    Q_OBJECT
public:
    explicit WatchWindow(QWidget* parent = nullptr);

    void showRules(const QList<WatchRule>& rules);
    // The player or tag the main window's alert watches while armed; empty when it
    // is not armed.
    void showPlayerAlert(const QString& watched);
    // The addresses offered for a rule's one server: the favourites.
    void setServerChoices(const QStringList& addresses) { serverChoices = addresses; }

signals:
    void rulesEdited(const QList<WatchRule>& rules);

private:
    void addControls();
    void redraw();
    void addRuleRow(int row, const WatchRule& rule);
    void addPlayerAlertRow();
    // The selected rule's place in the list, or -1 (no selection, or the player alert).
    int selectedRule() const;
    int firstRuleRow() const { return playerAlert.isEmpty() ? 0 : 1; }
    void updateButtons();
    void addRule();
    void editRule();
    void removeRule();
    void ruleChecked(int row, bool running);
    void dialogAccepted();

    QTableWidget* table = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* editButton = nullptr;
    QPushButton* removeButton = nullptr;
    WatchRuleDialog* dialog = nullptr;
    QList<WatchRule> rules;
    QString playerAlert;
    QStringList serverChoices;
    // The rule the dialog edits, or -1 when it adds one.
    int editedRule = -1;
    bool redrawing = false;
};
