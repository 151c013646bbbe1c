#include "support/UserInput.h"

#include "support/TableCells.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include <stdexcept>

void UserInput::activateWindowOf(QWidget& widget)
{
    QWidget& window = *widget.window();
    if (window.isActiveWindow())
        return;
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        throw std::runtime_error("the window did not become active");
}

void UserInput::clickRow(QAbstractItemView& view, int row, Qt::KeyboardModifiers modifiers)
{
    activateWindowOf(view);
    const QModelIndex cell = view.model()->index(row, 0);
    view.scrollTo(cell);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, view.visualRect(cell).center());
}

void UserInput::clickColumnTitle(QTableView& table, const QString& title)
{
    activateWindowOf(table);
    QHeaderView& header = *table.horizontalHeader();
    const int column = columnTitled(table, title);
    const QPoint middle(header.sectionViewportPosition(column) + header.sectionSize(column) / 2, header.height() / 2);
    QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, middle);
}

void UserInput::click(QWidget& widget, Qt::KeyboardModifiers modifiers)
{
    activateWindowOf(widget);
    QTest::mouseClick(&widget, Qt::LeftButton, modifiers);
}

void UserInput::typeInto(QWidget& field, const QString& text)
{
    click(field);
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Backspace);
    QTest::keyClicks(&field, text);
}

void UserInput::pressEnter(QWidget& field)
{
    QTest::keyClick(&field, Qt::Key_Return);
}

QMenu& UserInput::openContextMenu(QAbstractItemView& view, int row)
{
    activateWindowOf(view);
    QPoint at(view.viewport()->width() / 2, view.viewport()->height() - 2);
    if (row >= 0) {
        const QModelIndex cell = view.model()->index(row, 0);
        view.scrollTo(cell);
        at = view.visualRect(cell).center();
    }
    // The right button's press selects the row; the menu is asked for as the desktop
    // asks for it, by a context-menu event at the pointer.
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        throw std::runtime_error("the view showed no context menu");
    return *menu;
}

bool UserInput::chooseFromMenu(QMenu& menu, const QString& actionName)
{
    const QList<QAction*> actions = menu.actions();
    const auto named = std::find_if(actions.cbegin(), actions.cend(),
                                    [&actionName](const QAction* action) { return action->objectName() == actionName; });
    if (named == actions.cend() || !(*named)->isEnabled()) {
        QTest::keyClick(&menu, Qt::Key_Escape);
        return false;
    }
    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(*named).center());
    return true;
}
