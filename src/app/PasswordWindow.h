#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class PasswordWindow;
}

// The sheet that asks for the join password of a server before joining it. Its
// field keeps the text last typed into it, so the next sheet offers it again. What
// its OK and Cancel buttons do is the controller's to decide.
class PasswordWindow : public QDialog {
    Q_OBJECT
public:
    explicit PasswordWindow(QWidget* parent);
    ~PasswordWindow() override;

    Ui::PasswordWindow& controls() { return *ui; }

    // Shows the sheet, modal for its window, with the password field ready for typing.
    void openForPassword();

private:
    std::unique_ptr<Ui::PasswordWindow> ui;
};
