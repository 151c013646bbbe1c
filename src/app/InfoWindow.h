#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class InfoWindow;
}
class CodServer;
class HistoryStore;
class HistoryTab;

// The details sheet: everything the last status answer told about one server, and
// on its History tab what the history of servers recorded of it.
class InfoWindow : public QDialog {
    Q_OBJECT
public:
    InfoWindow(HistoryStore& history, QWidget* parent);
    ~InfoWindow() override;

    Ui::InfoWindow& controls() { return *ui; }

    // Fills the sheet with the server's details and history.
    void showDetailsOf(const CodServer& server);

private:
    std::unique_ptr<Ui::InfoWindow> ui;
    HistoryTab* historyTab;
};
