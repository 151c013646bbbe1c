#include "app/NewModifyWindow.h"

#include "platform/PlainText.h"

#include "ui_NewModifyWindow.h"

NewModifyWindow::NewModifyWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::NewModifyWindow>())
{
    ui->setupUi(this);
    PlainText::labelsOf(*this);
}

NewModifyWindow::~NewModifyWindow() = default;

void NewModifyWindow::openWithMode(Mode mode, const QString& ipAndPort, const QString& serverName,
                                   const QString& rconPass)
{
    openMode = mode;
    ui->nmIpAndPort->setText(ipAndPort);
    ui->nmErrorMessage->clear();
    ui->nmServerName->setText(serverName);
    ui->nmRconPass->setText(rconPass);
    ui->nmIpAndPort->setFocus();
    open();
}
