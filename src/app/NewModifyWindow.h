#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class NewModifyWindow;
}

// The sheet that adds a favourite and modifies the selected one: the address, the
// line that tells what is wrong with the address as it is typed, the name and the
// rcon password. What
// its OK and Cancel buttons do is the controller's to decide; the sheet ends with 1
// (OK) or 0 (cancel) and remembers the mode it was opened in.
class NewModifyWindow : public QDialog {
    Q_OBJECT
public:
    enum class Mode { New, Modify };

    explicit NewModifyWindow(QWidget* parent);
    ~NewModifyWindow() override;

    Ui::NewModifyWindow& controls() { return *ui; }
    Mode mode() const { return openMode; }

    // Fills the fields, empties the message line and shows the sheet, modal for its
    // window.
    void openWithMode(Mode mode, const QString& ipAndPort, const QString& serverName, const QString& rconPass);

private:
    void checkAddress(const QString& address);

    std::unique_ptr<Ui::NewModifyWindow> ui;
    Mode openMode = Mode::New;
};
