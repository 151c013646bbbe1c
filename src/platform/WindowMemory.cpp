#include "platform/WindowMemory.h"

#include "platform/ColumnFit.h"
#include "platform/Preferences.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>
#include <QTableView>
#include <QWidget>

#include <algorithm>

namespace {

// How far a window placed over the main window sits from its corner.
constexpr int cascade = 40;

}  // namespace

void WindowMemory::attach(QWidget& window, const QString& name)
{
    window.installEventFilter(new WindowMemory(window, name));
}

WindowMemory::WindowMemory(QWidget& window, const QString& name)
    : QObject(&window)
    , window(window)
    , name(name)
{
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window) {
        if (event->type() == QEvent::Show && !restored)
            restore();
        else if (event->type() == QEvent::Hide)
            remember();
    }
    return QObject::eventFilter(watched, event);
}

void WindowMemory::restore()
{
    restored = true;
    const Preferences& store = Preferences::standard();
    const QByteArray geometry = store.dataForKey(geometryKey());
    if (geometry.isEmpty() || !window.restoreGeometry(geometry))
        placeBesideMainWindow();
    for (QTableView* table : namedTables()) {
        const QByteArray columns = store.dataForKey(columnsKey(table->objectName()));
        // A state saved with another set of columns is refused by the header,
        // which then keeps the layout's own widths.
        if (!columns.isEmpty())
            restoreColumns(*table->horizontalHeader(), columns);
    }
}

// The widths, order and sort order come back; which columns fit their contents and
// which one takes the width left stay the table's own, so that a state stored by
// another version, or with other sizes, leaves no part of the header bare.
void WindowMemory::restoreColumns(QHeaderView& header, const QByteArray& columns)
{
    QList<QHeaderView::ResizeMode> modes;
    for (int section = 0; section < header.count(); ++section)
        modes.append(header.sectionResizeMode(section));
    const bool stretchLast = header.stretchLastSection();
    if (!header.restoreState(columns))
        return;
    for (int section = 0; section < header.count() && section < modes.size(); ++section)
        header.setSectionResizeMode(section, modes.at(section));
    header.setStretchLastSection(stretchLast);
    header.setProperty(ColumnFit::rememberedWidths, true);
}

// A window opened for the first time comes up beside the main window, on its right
// when the screen has room there, else on its left, else over it, a little lower. A
// dialog of a window is left where the toolkit puts it: centred over that window.
void WindowMemory::placeBesideMainWindow()
{
    const QWidget* main = mainWindow();
    if (!main || main == &window || window.parentWidget())
        return;
    const QRect beside = main->frameGeometry();
    const QRect screen = main->screen()->availableGeometry();
    const QSize size = window.frameGeometry().size();
    QPoint at(beside.right() + 1, beside.top());
    if (at.x() + size.width() - 1 > screen.right())
        at.setX(beside.left() - size.width());
    if (at.x() < screen.left())
        at = beside.topLeft() + QPoint(cascade, cascade);
    at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height())));
    window.move(at);
}

const QWidget* WindowMemory::mainWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto main = std::find_if(windows.cbegin(), windows.cend(), [](const QWidget* each) {
        return qobject_cast<const QMainWindow*>(each) && each->isVisible();
    });
    return main == windows.cend() ? nullptr : *main;
}

void WindowMemory::remember() const
{
    Preferences& store = Preferences::standard();
    store.setObject(window.saveGeometry(), geometryKey());
    for (const QTableView* table : namedTables())
        store.setObject(table->horizontalHeader()->saveState(), columnsKey(table->objectName()));
}

QList<QTableView*> WindowMemory::namedTables() const
{
    QList<QTableView*> tables = window.findChildren<QTableView*>();
    tables.removeIf([](const QTableView* table) { return table->objectName().isEmpty(); });
    return tables;
}

QString WindowMemory::geometryKey() const
{
    return QStringLiteral("Window geometry %1").arg(name);
}

QString WindowMemory::columnsKey(const QString& table) const
{
    return QStringLiteral("Columns of %1 %2").arg(name, table);
}
