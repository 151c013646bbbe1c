#include "platform/CommandHistory.h"

#include <QKeyEvent>
#include <QLineEdit>

CommandHistory& CommandHistory::attach(QLineEdit& field)
{
    auto* history = new CommandHistory(field);
    field.installEventFilter(history);
    return *history;
}

CommandHistory::CommandHistory(QLineEdit& field)
    : QObject(&field)
    , field(field)
{
}

void CommandHistory::remember(const QString& command)
{
    if (!command.isEmpty() && (commands.isEmpty() || commands.last() != command))
        commands.append(command);
    shown = commands.size();
    typing.clear();
}

bool CommandHistory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &field || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
        return false;
    if (key->key() == Qt::Key_Up) {
        recall(-1);
        return true;
    }
    if (key->key() == Qt::Key_Down) {
        recall(+1);
        return true;
    }
    return false;
}

void CommandHistory::recall(int step)
{
    const qsizetype next = shown + step;
    if (next < 0 || next > commands.size())
        return;
    if (shown == commands.size())
        typing = field.text();
    shown = next;
    field.setText(shown == commands.size() ? typing : commands.at(shown));
}
