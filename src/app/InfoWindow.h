#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class InfoWindow;
}
class CodServer;

// The details sheet: everything the last status answer told about one server.
class InfoWindow : public QDialog {
    Q_OBJECT
public:
    explicit InfoWindow(QWidget* parent);
    ~InfoWindow() override;

    Ui::InfoWindow& controls() { return *ui; }

    // Fills the sheet with the server's details.
    void showDetailsOf(const CodServer& server);

private:
    std::unique_ptr<Ui::InfoWindow> ui;
};
