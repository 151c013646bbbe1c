#include "app/PasswordWindow.h"

#include "platform/PlainText.h"

#include "ui_PasswordWindow.h"

PasswordWindow::PasswordWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::PasswordWindow>())
{
    ui->setupUi(this);
    PlainText::labelsOf(*this);
}

PasswordWindow::~PasswordWindow() = default;

void PasswordWindow::openForPassword()
{
    ui->pPassword->selectAll();
    ui->pPassword->setFocus();
    open();
}
