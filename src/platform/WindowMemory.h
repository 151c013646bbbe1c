#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QHeaderView;
class QTableView;
class QWidget;

// Remembers a window's geometry and the column widths and sort order of its tables
// between runs. Attached to a window, it restores them when the window is first
// shown and stores them in the preferences each time the window is hidden, so a
// window that is only closed and reopened, or a run that quits, keeps them. A window
// with nothing stored opens beside the main window.
class WindowMemory : public QObject {
    Q_OBJECT
public:
    // The memory lives as long as the window; the name keys its settings.
    static void attach(QWidget& window, const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowMemory(QWidget& window, const QString& name);
    void restore();
    static void restoreColumns(QHeaderView& header, const QByteArray& columns);
    void placeBesideMainWindow();
    // The application's main window in view, if any.
    static const QWidget* mainWindow();
    void remember() const;
    // The window's tables that have a name to key their columns by.
    QList<QTableView*> namedTables() const;
    QString geometryKey() const;
    QString columnsKey(const QString& table) const;

    QWidget& window;
    const QString name;
    bool restored = false;
};
