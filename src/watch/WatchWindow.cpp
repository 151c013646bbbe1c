#include "watch/WatchWindow.h"

#include "platform/ClosingKeys.h"
#include "platform/WindowMemory.h"
#include "watch/WatchRuleDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { OnColumn, ConditionColumn, WhereColumn, ActionsColumn, IntervalColumn, ColumnCount };

QTableWidgetItem* textItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

WatchWindow::WatchWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , dialog(new WatchRuleDialog(this))
{
    setObjectName(QStringLiteral("WatchWindow"));
    setWindowTitle(tr("Watch"));
    addControls();
    ClosingKeys::attach(*this);
    WindowMemory::attach(*this, QStringLiteral("Watch"));
    connect(dialog, &QDialog::accepted, this, &WatchWindow::dialogAccepted);
    redraw();
}

void WatchWindow::addControls()
{
    auto* layout = new QVBoxLayout(this);
    table = new QTableWidget(0, ColumnCount, this);
    table->setObjectName(QStringLiteral("watchRules"));
    table->setHorizontalHeaderLabels({tr("On"), tr("When"), tr("Where"), tr("Then"), tr("Every")});
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(ConditionColumn, QHeaderView::Stretch);
    layout->addWidget(table);
    auto* buttonRow = new QHBoxLayout;
    addButton = new QPushButton(tr("&Add…"), this);
    addButton->setObjectName(QStringLiteral("addRuleButton"));
    editButton = new QPushButton(tr("&Edit…"), this);
    editButton->setObjectName(QStringLiteral("editRuleButton"));
    removeButton = new QPushButton(tr("&Remove"), this);
    removeButton->setObjectName(QStringLiteral("removeRuleButton"));
    buttonRow->addWidget(addButton);
    buttonRow->addWidget(editButton);
    buttonRow->addWidget(removeButton);
    buttonRow->addStretch();
    layout->addLayout(buttonRow);
    resize(640, 300);

    connect(addButton, &QPushButton::clicked, this, &WatchWindow::addRule);
    connect(editButton, &QPushButton::clicked, this, &WatchWindow::editRule);
    connect(removeButton, &QPushButton::clicked, this, &WatchWindow::removeRule);
    connect(table, &QTableWidget::itemSelectionChanged, this, &WatchWindow::updateButtons);
    connect(table, &QTableWidget::cellDoubleClicked, this, &WatchWindow::editRule);
    // Delete removes the selected rule, as the Remove button does.
    new QShortcut(QKeySequence::Delete, table, this, &WatchWindow::removeRule, Qt::WidgetShortcut);
    connect(table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!redrawing && item->column() == OnColumn)
            ruleChecked(item->row(), item->checkState() == Qt::Checked);
    });
}

void WatchWindow::showRules(const QList<WatchRule>& newRules)
{
    rules = newRules;
    redraw();
}

void WatchWindow::showPlayerAlert(const QString& watched)
{
    if (watched == playerAlert)
        return;
    playerAlert = watched;
    redraw();
}

void WatchWindow::redraw()
{
    const int selected = selectedRule();
    const QScopedValueRollback guard(redrawing, true);
    table->setRowCount(0);
    table->setRowCount(firstRuleRow() + int(rules.size()));
    if (!playerAlert.isEmpty())
        addPlayerAlertRow();
    for (int index = 0; index < rules.size(); ++index)
        addRuleRow(firstRuleRow() + index, rules.at(index));
    if (selected >= 0 && selected < rules.size())
        table->selectRow(firstRuleRow() + selected);
    updateButtons();
}

void WatchWindow::addRuleRow(int row, const WatchRule& rule)
{
    auto* on = textItem(QString());
    on->setFlags(on->flags() | Qt::ItemIsUserCheckable);
    on->setCheckState(rule.paused ? Qt::Unchecked : Qt::Checked);
    on->setToolTip(tr("Checked: the rule runs; unchecked: it is paused"));
    table->setItem(row, OnColumn, on);
    table->setItem(row, ConditionColumn, textItem(rule.conditionText()));
    table->setItem(row, WhereColumn, textItem(rule.scopeText()));
    table->setItem(row, ActionsColumn, textItem(rule.actionsText()));
    const bool asks = rule.effectiveScope() != WatchRule::Scope::AnyScannedServer;
    table->setItem(row, IntervalColumn,
                   textItem(asks ? tr("%1 s").arg(rule.effectiveInterval()) : tr("each scan")));
}

// The main window's check box arms and disarms it; here it is only shown.
void WatchWindow::addPlayerAlertRow()
{
    auto* on = textItem(QString());
    on->setCheckState(Qt::Checked);
    on->setFlags(Qt::ItemIsSelectable);
    table->setItem(0, OnColumn, on);
    table->setItem(0, ConditionColumn, textItem(tr("Player or tag \"%1\" appears").arg(playerAlert)));
    table->setItem(0, WhereColumn, textItem(tr("Any favourite")));
    table->setItem(0, ActionsColumn, textItem(tr("Alert me (in the main window)")));
    table->setItem(0, IntervalColumn, textItem(tr("each refresh")));
}

int WatchWindow::selectedRule() const
{
    const QList<QTableWidgetItem*> selected = table->selectedItems();
    if (selected.isEmpty())
        return -1;
    const int index = selected.first()->row() - firstRuleRow();
    return index >= 0 && index < rules.size() ? index : -1;
}

void WatchWindow::updateButtons()
{
    const bool ruleSelected = selectedRule() >= 0;
    editButton->setEnabled(ruleSelected);
    removeButton->setEnabled(ruleSelected);
}

void WatchWindow::addRule()
{
    editedRule = -1;
    dialog->setRule(WatchRule{}, serverChoices);
    dialog->open();
}

void WatchWindow::editRule()
{
    editedRule = selectedRule();
    if (editedRule < 0)
        return;
    dialog->setRule(rules.at(editedRule), serverChoices);
    dialog->open();
}

void WatchWindow::removeRule()
{
    const int index = selectedRule();
    if (index < 0)
        return;
    rules.removeAt(index);
    redraw();
    emit rulesEdited(rules);
}

void WatchWindow::ruleChecked(int row, bool running)
{
    const int index = row - firstRuleRow();
    if (index < 0 || index >= rules.size() || rules.at(index).paused != running)
        return;
    // The row stays as it is: the check box already shows the change.
    rules[index].paused = !running;
    emit rulesEdited(rules);
}

void WatchWindow::dialogAccepted()
{
    if (editedRule >= 0 && editedRule < rules.size())
        rules[editedRule] = dialog->rule();
    else
        rules.append(dialog->rule());
    redraw();
    emit rulesEdited(rules);
}
