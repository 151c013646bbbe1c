#pragma once

#include <QObject>
#include <QStringList>

class QLineEdit;

// The commands entered in a line field during this run, as a shell keeps them: Up
// puts the one before the shown one in the field, Down the one after, and Down past
// the latest gives back what was being typed.
class CommandHistory : public QObject {
    Q_OBJECT
public:
    // Watches the field's Up and Down keys; the history belongs to the field.
    static CommandHistory& attach(QLineEdit& field);

    // The command was entered: it becomes the latest, unless it repeats the latest
    // or is empty, and the next Up starts from it.
    void remember(const QString& command);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CommandHistory(QLineEdit& field);
    void recall(int step);

    QLineEdit& field;
    QStringList commands;
    // The command shown, an index into commands; commands.size() while the field
    // holds what the user is typing.
    qsizetype shown = 0;
    QString typing;
};
