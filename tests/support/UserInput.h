#pragma once

#include <Qt>

class QAbstractItemView;
class QMenu;
class QString;
class QTableView;
class QWidget;

// What a user does with mouse and keyboard, for widget tests: the events go through
// the application as a user's would, so focus moves and selections change as they do
// on a desktop.
class UserInput {
public:
    // Clicks the row's first cell, with the modifier keys held.
    static void clickRow(QAbstractItemView& view, int row, Qt::KeyboardModifiers modifiers = {});
    // Clicks the title of the table's column that has it.
    static void clickColumnTitle(QTableView& table, const QString& title);
    // Clicks the widget in its middle: a button takes the focus, as it does on a desktop.
    static void click(QWidget& widget, Qt::KeyboardModifiers modifiers = {});
    // Clicks into the field, selects what it holds and types the text over it; the
    // field keeps the focus.
    static void typeInto(QWidget& field, const QString& text);
    static void pressEnter(QWidget& field);
    // Right-clicks the row's first cell, which selects it, or below the rows with -1,
    // and returns the context menu the view shows there.
    static QMenu& openContextMenu(QAbstractItemView& view, int row);
    // Clicks the menu's entry named by its action's objectName. False, closing the
    // menu with Escape, when the entry is disabled or the menu has none.
    static bool chooseFromMenu(QMenu& menu, const QString& actionName);

private:
    // A click brings the widget's window to the front: the keyboard and the focus
    // belong to the active window.
    static void activateWindowOf(QWidget& widget);
};
