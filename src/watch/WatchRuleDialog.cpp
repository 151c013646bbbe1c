#include "watch/WatchRuleDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

template <class Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QLatin1StringView(name));
    return control;
}

}  // namespace

WatchRuleDialog::WatchRuleDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Watch rule"));
    setWindowModality(Qt::WindowModal);
    addControls();
    updateUI();
}

void WatchRuleDialog::addControls()
{
    auto* form = new QFormLayout(this);
    conditionBox = named(new QComboBox(this), "conditionBox");
    conditionBox->addItems({tr("A player or clan tag appears"), tr("A slot frees"), tr("A map starts"),
                            tr("The server comes back up"), tr("The server reaches a number of players")});
    form->addRow(tr("&When"), conditionBox);
    textField = named(new QLineEdit(this), "textField");
    textField->setPlaceholderText(tr("Player name, clan tag or map"));
    form->addRow(tr("&Name or map"), textField);
    countBox = named(new QSpinBox(this), "countBox");
    countBox->setRange(0, WatchRule::largestCount);
    countBox->setSpecialValueText(tr("any"));
    countBox->setToolTip(tr("Free slots, or players, at least"));
    form->addRow(tr("N&umber"), countBox);
    scopeBox = named(new QComboBox(this), "scopeBox");
    scopeBox->addItems({tr("Any favourite"), tr("Any scanned server"), tr("One server")});
    form->addRow(tr("&Where"), scopeBox);
    serverBox = named(new QComboBox(this), "serverBox");
    serverBox->setEditable(true);
    serverBox->lineEdit()->setPlaceholderText(tr("Address, as 127.0.0.1:28960"));
    form->addRow(tr("&Server"), serverBox);
    notifyBox = named(new QCheckBox(tr("Desktop &notification"), this), "notifyBox");
    alertBox = named(new QCheckBox(tr("&Alert in the window"), this), "alertBox");
    joinBox = named(new QCheckBox(tr("&Join the server"), this), "joinBox");
    joinWithoutAskingBox = named(new QCheckBox(tr("Join at &once, without the 10-second countdown"), this),
                                 "joinWithoutAskingBox");
    for (QCheckBox* action : {notifyBox, alertBox, joinBox, joinWithoutAskingBox})
        form->addRow(QString(), action);
    intervalBox = named(new QSpinBox(this), "intervalBox");
    intervalBox->setRange(WatchRule::shortestIntervalSeconds, WatchRule::longestIntervalSeconds);
    intervalBox->setSuffix(tr(" s"));
    form->addRow(tr("Ask &every"), intervalBox);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(conditionBox, &QComboBox::currentIndexChanged, this, &WatchRuleDialog::updateUI);
    connect(scopeBox, &QComboBox::currentIndexChanged, this, &WatchRuleDialog::updateUI);
    connect(textField, &QLineEdit::textChanged, this, &WatchRuleDialog::updateUI);
    connect(serverBox, &QComboBox::editTextChanged, this, &WatchRuleDialog::updateUI);
    connect(joinBox, &QCheckBox::toggled, this, &WatchRuleDialog::updateUI);
}

void WatchRuleDialog::setRule(const WatchRule& rule, const QStringList& servers)
{
    conditionBox->setCurrentIndex(int(rule.condition));
    textField->setText(rule.text);
    countBox->setValue(rule.count);
    scopeBox->setCurrentIndex(int(rule.scope));
    serverBox->clear();
    serverBox->addItems(servers);
    serverBox->setEditText(rule.server);
    notifyBox->setChecked(rule.notify);
    alertBox->setChecked(rule.alert);
    joinBox->setChecked(rule.join);
    joinWithoutAskingBox->setChecked(rule.joinWithoutAsking);
    intervalBox->setValue(rule.effectiveInterval());
    paused = rule.paused;
    updateUI();
    focusFirstField();
}

WatchRule WatchRuleDialog::rule() const
{
    WatchRule rule;
    rule.condition = WatchRule::Condition(conditionBox->currentIndex());
    rule.text = textField->text().trimmed();
    rule.count = countBox->value();
    rule.scope = WatchRule::Scope(scopeBox->currentIndex());
    rule.server = rule.effectiveScope() == WatchRule::Scope::OneServer ? serverBox->currentText().trimmed() : QString();
    rule.notify = notifyBox->isChecked();
    rule.alert = alertBox->isChecked();
    rule.join = joinBox->isChecked();
    rule.joinWithoutAsking = rule.join && joinWithoutAskingBox->isChecked();
    rule.intervalSeconds = intervalBox->value();
    rule.paused = paused;
    return rule;
}

void WatchRuleDialog::updateUI()
{
    const WatchRule shown = rule();
    const auto condition = shown.condition;
    textField->setEnabled(condition == WatchRule::Condition::PlayerAppears
                          || condition == WatchRule::Condition::MapStarts);
    countBox->setEnabled(condition == WatchRule::Condition::SlotFrees
                         || condition == WatchRule::Condition::PlayersReach);
    scopeBox->setEnabled(condition == WatchRule::Condition::PlayerAppears);
    serverBox->setEnabled(shown.effectiveScope() == WatchRule::Scope::OneServer);
    joinWithoutAskingBox->setEnabled(joinBox->isChecked());
    buttons->button(QDialogButtonBox::Ok)->setEnabled(shown.isComplete());
}

// The name or map, else the number, else the condition: what the user types first.
void WatchRuleDialog::focusFirstField()
{
    QWidget* first = conditionBox;
    if (textField->isEnabled())
        first = textField;
    else if (countBox->isEnabled())
        first = countBox;
    first->setFocus();
}
