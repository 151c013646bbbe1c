#include "platform/WindowMemory.h"

#include "platform/Preferences.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <QWidget>

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
    if (!geometry.isEmpty())
        window.restoreGeometry(geometry);
    for (QTableView* table : namedTables()) {
        const QByteArray columns = store.dataForKey(columnsKey(table->objectName()));
        // A state saved with another set of columns is refused by the header,
        // which then keeps the layout's own widths.
        if (!columns.isEmpty())
            table->horizontalHeader()->restoreState(columns);
    }
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
