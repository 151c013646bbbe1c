#include "app/NewModifyWindow.h"

#include "app/AddressValidator.h"
#include "platform/PlainText.h"

#include "ui_NewModifyWindow.h"

NewModifyWindow::NewModifyWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::NewModifyWindow>())
{
    ui->setupUi(this);
    PlainText::labelsOf(*this);
    ui->nmIpAndPort->setPlaceholderText(QStringLiteral("xxx.xxx.xxx.xxx:xxxxx"));
    connect(ui->nmIpAndPort, &QLineEdit::textEdited, this, &NewModifyWindow::checkAddress);
}

// The message line follows the text as it is typed, and is empty while the text is
// valid, or empty again.
void NewModifyWindow::checkAddress(const QString& address)
{
    const std::optional<QString> problem = address.isEmpty() ? std::nullopt : AddressValidator::problemWith(address);
    ui->nmErrorMessage->setText(problem.value_or(QString()));
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
