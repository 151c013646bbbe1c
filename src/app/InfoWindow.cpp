#include "app/InfoWindow.h"

#include "admin/ServerSummary.h"
#include "app/HistoryTab.h"
#include "model/CodServer.h"
#include "model/GameCatalogue.h"
#include "platform/CountText.h"
#include "platform/PlainText.h"
#include "platform/TextValue.h"

#include "ui_InfoWindow.h"

#include <QLineEdit>

namespace {

bool isOn(const QString& setting)
{
    return TextValue::integerValue(setting) > 0;
}

// The administrator's name as the server's other names show: without its colour codes.
QString adminNameOf(const CodServer& server)
{
    const GameDescription* game = GameCatalogue::standard().gameOf(server.serverGameName(), server.serverRules());
    return CodServer::clearColoredName(server.serverAdmin(),
                                       game ? game->colours : GameDescription::ColourDialect::CaretDigit);
}

}  // namespace

InfoWindow::InfoWindow(HistoryStore& history, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::InfoWindow>())
    , historyTab(new HistoryTab(history))
{
    ui->setupUi(this);
    ui->infoTabs->addTab(historyTab, QStringLiteral("&History"));
    PlainText::labelsOf(*this);
    // The check boxes show the server's settings; the user cannot change them.
    for (QWidget* box : {ui->infoPassword, ui->infoPunkbuster, ui->infoPure})
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
}

InfoWindow::~InfoWindow() = default;

void InfoWindow::showDetailsOf(const CodServer& server)
{
    // The server's own name, also when the user gave the favourite another one.
    const QString hostName = server.serverHostName();
    ui->infoName->setPlainText(hostName.isEmpty() ? server.serverName() : hostName);
    // A host name shows the address it was found at.
    const QString resolved = server.serverResolvedIp();
    ui->infoIP->setText(resolved.isEmpty() ? server.serverIp()
                                           : QStringLiteral("%1 (%2)").arg(server.serverIp(), resolved));
    ui->infoPing->setText(ServerSummary::pingTime(server.serverPing()));
    ui->infoGame->setText(server.serverGameName());
    ui->infoVersion->setText(server.serverShortVersion());
    ui->infoProtocol->setText(server.serverProtocol());
    ui->infoAdmin->setText(adminNameOf(server));
    ui->infoMail->setText(server.serverEmail());
    ui->infoWebSite->setText(server.serverWebSite());
    ui->infoLocation->setText(server.serverLocation());
    ui->infoMaxPlayers->setText(server.serverMaxClients());
    ui->infoMap->setText(server.serverMapName());
    ui->infoGametype->setText(server.serverGametype());
    ui->infoNumberOfPlayers->setText(
        CountText::of(server.serverPlayers().size(), QStringLiteral("player"), QStringLiteral("players")));
    ui->infoPassword->setChecked(isOn(server.serverPassActive()));
    ui->infoPunkbuster->setChecked(isOn(server.serverPunkBuster()));
    ui->infoPure->setChecked(isOn(server.serverPure()));
    // A text longer than its field (a version, a web site) shows its beginning.
    for (QLineEdit* field : findChildren<QLineEdit*>())
        field->setCursorPosition(0);
    historyTab->showServer(server.serverIp());
}
