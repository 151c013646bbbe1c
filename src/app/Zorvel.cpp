#include "app/Zorvel.h"

#include "app/Alerts.h"
#include "app/MainWindow.h"
#include "app/Preferences.h"
#include "launch/Desktop.h"
#include "launch/GameApplications.h"
#include "model/ServerArchive.h"
#include "net/MapListListener.h"

#include "ui_MainWindow.h"

#include <QAction>
#include <QCoreApplication>

// The images are compiled into the core static library, where the linker drops their
// registration unless some code refers to it: this reference keeps it in.
static bool registerImageResources()
{
    Q_INIT_RESOURCE(zorvel);
    return true;
}

namespace {

const QString myServersKey = QStringLiteral("myServers");

// The favourite a first start shows: a server on this computer, at the default
// port of the Call of Duty games, without rcon password.
CodServerPtr presetFavourite()
{
    CodServerPtr server = CodServer::create();
    server->setServerName(QStringLiteral("Local server"));
    server->setServerIp(QStringLiteral("127.0.0.1:28960"));
    return server;
}

QPixmap imageResource(const QString& name)
{
    [[maybe_unused]] static const bool registered = registerImageResources();
    return QPixmap(QStringLiteral(":/images/") + name);
}

}  // namespace

Zorvel::Zorvel(QObject* parent)
    : QObject(parent)
    , m_myServers(loadMyServers(registerDefaults()))
    , m_codGameTypeArray{"dm", "tdm", "sd", "hq", "bel", "re"}
    , m_uoGameTypeArray{"dm", "tdm", "sd", "hq", "bel", "re", "bas", "ctf", "dom"}
    , m_cod2GameTypeArray{"dm", "tdm", "sd", "ctf", "hq"}
    , m_cod4GameTypeArray{"dm", "dom", "koth", "sab", "sd", "war"}
    , m_AWEGameTypeArray{"actf", "htf", "rsd", "dem", "ad", "lts"}
    , m_hasCoD(isInstalled(GameApplications::callOfDuty))
    , m_hasUO(isInstalled(GameApplications::unitedOffensive))
    , m_hasCoD2(isInstalled(GameApplications::callOfDuty2))
    , m_hasCoD4(isInstalled(GameApplications::callOfDuty4))
    , m_hasUrbanTerror(isInstalled(GameApplications::urbanTerror))
    , m_codGameImage(imageResource(QStringLiteral("CoDgame.gif")))
    , m_uoGameImage(imageResource(QStringLiteral("UOgame.gif")))
    , m_cod2GameImage(imageResource(QStringLiteral("CoD2game.gif")))
    , m_cod4GameImage(imageResource(QStringLiteral("CoD4game.gif")))
    , m_ETGameImage(imageResource(QStringLiteral("ETgame.gif")))
    , m_UrbanTerrorGameImage(imageResource(QStringLiteral("UrbanTerrorGame.gif")))
    , m_UT2k4GameImage(imageResource(QStringLiteral("UT2k4game.gif")))
    , m_punkbusterImage(imageResource(QStringLiteral("PBOn.gif")))
    , m_passwordImage(imageResource(QStringLiteral("PassOn.tif")))
{
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &Zorvel::stopMasterScans);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &Zorvel::applicationWillTerminate);
    connectFinders();
}

Zorvel::~Zorvel()
{
    stopRefreshAll();
}

// Registers every setting's default with the store (in memory, never written) and
// returns the archive of the preset favourites list, the default of "myServers".
QByteArray Zorvel::registerDefaults()
{
    const QByteArray presetArchive = ServerArchive::archiveServerList({presetFavourite()});
    Preferences::standard().registerDefaults({
        {myServersKey, presetArchive},
        {QStringLiteral("Refresh server when selected"), false},
        {QStringLiteral("Auto Refresh"), false},
        {QStringLiteral("Latency for double command"), QStringLiteral("500 ms")},
        {QStringLiteral("Timeout"), 500000},
        {QStringLiteral("Number of servers by thread"), 250},
        {QStringLiteral("Refresh delay in seconds"), 600},
        // The master servers the games themselves ask for their server lists.
        {QStringLiteral("CoD Master Server"), QStringLiteral("codmaster.activision.com")},
        {QStringLiteral("CoD Master Server Port"), QStringLiteral("20510")},
        {QStringLiteral("CoD Master Server Protocol"), QStringLiteral("6")},
        {QStringLiteral("UO Master Server"), QStringLiteral("coduomaster.activision.com")},
        {QStringLiteral("UO Master Server Port"), QStringLiteral("20610")},
        {QStringLiteral("UO Master Server Protocol"), QStringLiteral("22")},
        {QStringLiteral("CoD2 Master Server"), QStringLiteral("cod2master.activision.com")},
        {QStringLiteral("CoD2 Master Server Port"), QStringLiteral("20710")},
        {QStringLiteral("CoD2 Master Server Protocol"), QStringLiteral("115")},
        {QStringLiteral("CoD4 Master Server"), QStringLiteral("cod4master.activision.com")},
        {QStringLiteral("CoD4 Master Server Port"), QStringLiteral("20810")},
        {QStringLiteral("CoD4 Master Server Protocol"), QStringLiteral("4")},
    });
    return presetArchive;
}

// The stored favourites, each marked as one whose rcon password the user holds when
// it has one. A stored list that cannot be read back is left in the store as it is
// (only a save at quit replaces it) and the run starts with the preset favourite.
QList<CodServerPtr> Zorvel::loadMyServers(const QByteArray& presetArchive)
{
    std::optional<QList<CodServerPtr>> servers =
        ServerArchive::unarchiveServerList(Preferences::standard().dataForKey(myServersKey));
    if (!servers) {
        qInfo("The stored list of favorite servers cannot be read: starting with the preset server");
        servers = ServerArchive::unarchiveServerList(presetArchive);
    }
    for (const CodServerPtr& server : *servers)
        FavouritesList::markPasswordHeld(*server);
    return *servers;
}

bool Zorvel::isInstalled(const QString& applicationIdentifier)
{
    return !Desktop::current().applicationPath(applicationIdentifier).isEmpty();
}

void Zorvel::awakeFromNib(MainWindow& window)
{
    mainWindow = &window;
    MapListListener::setMapListListener([this](const CodServerPtr& server) { updateMapListComboBox(server); });
    Ui::MainWindow& controls = window.controls();
    controls.myServersBox->setTitle(QStringLiteral("My favorite servers:"));
    controls.changeMapBox->setTitle(QStringLiteral("Change map and gametype"));
    controls.execBox->setTitle(QStringLiteral("Select file"));
    controls.kickBox->setTitle(QStringLiteral("Select player"));
    controls.sayAndRconBox->setTitle(QStringLiteral("Say or rcon command"));
    updateUI();
    // No timer exists yet: switched on, the periodic refresh starts and fires at once.
    const Preferences& store = Preferences::standard();
    handleRefreshChange(store.boolForKey(QStringLiteral("Auto Refresh")),
                        store.integerForKey(QStringLiteral("Refresh delay in seconds")));
}

bool Zorvel::validateMenuItem(const QAction& item) const
{
    static const QStringList selectionCommands = {QStringLiteral("copy"), QStringLiteral("cut"),
                                                  QStringLiteral("delete")};
    static const QStringList scanCommands = {QStringLiteral("scanCodServers"), QStringLiteral("scanUOServers"),
                                             QStringLiteral("scanCod2Servers"), QStringLiteral("scanCod4Servers")};
    const QString action = item.objectName();
    if (selectionCommands.contains(action))
        return selectedFavouriteRow() >= 0;
    if (scanCommands.contains(action))
        return !anyMasterIsRefreshing();
    if (action == u"infoOnServer")
        return mainWindow && mainWindow->controls().infoServerButton->isEnabled();
    return true;
}

bool Zorvel::anyMasterIsRefreshing() const
{
    return codMasterIsRefreshing() || uoMasterIsRefreshing() || cod2MasterIsRefreshing()
        || cod4MasterIsRefreshing();
}

int Zorvel::selectedFavouriteRow() const
{
    if (!mainWindow)
        return -1;
    const QModelIndexList rows = mainWindow->controls().tableViewServers->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= m_myServers.count())
        return -1;
    return rows.first().row();
}

void Zorvel::forgetMainWindow()
{
    MapListListener::setMapListListener({});
    mainWindow = nullptr;
}

QString Zorvel::playerNameToFind() const
{
    return mainWindow ? mainWindow->controls().playerNameToFind->text() : QString();
}

bool Zorvel::isGameInstalled(GameKind kind) const
{
    switch (kind) {
    case GameKind::CoD: return m_hasCoD;
    case GameKind::UO: return m_hasUO;
    case GameKind::CoD2: return m_hasCoD2;
    case GameKind::CoD4: return m_hasCoD4;
    case GameKind::UrbanTerror: return m_hasUrbanTerror;
    case GameKind::ET:
    case GameKind::UT2004:
    case GameKind::Unknown: break;
    }
    return false;
}

QPixmap Zorvel::gameImage(GameKind kind) const
{
    switch (kind) {
    case GameKind::CoD: return m_codGameImage;
    case GameKind::UO: return m_uoGameImage;
    case GameKind::CoD2: return m_cod2GameImage;
    case GameKind::CoD4: return m_cod4GameImage;
    case GameKind::ET: return m_ETGameImage;
    case GameKind::UrbanTerror: return m_UrbanTerrorGameImage;
    case GameKind::UT2004: return m_UT2k4GameImage;
    case GameKind::Unknown: break;
    }
    return {};
}

void Zorvel::showPreferencePanel()
{
    if (!_preferenceController) {
        _preferenceController = std::make_unique<PreferenceController>();
        connect(_preferenceController.get(), &PreferenceController::XRRefreshChanged, this,
                &Zorvel::handleRefreshChange);
    }
    _preferenceController->show();
    _preferenceController->raise();
    _preferenceController->activateWindow();
}

void Zorvel::updateServerListPreference()
{
    if (!m_listOfServersModified)
        return;
    Preferences::standard().setObject(ServerArchive::archiveServerList(m_myServers.servers()), myServersKey);
    m_listOfServersModified = false;
}

void Zorvel::windowWillClose()
{
    QCoreApplication::quit();
}

void Zorvel::applicationWillTerminate()
{
    // The names that the run learnt so far count for the prompt; nothing changes the
    // list behind it afterwards.
    stopRefreshAll();
    if (!m_listOfServersModified)
        return;
    const Alerts::Answer answer =
        Alerts::current().runAlert(QStringLiteral("Modified list of servers"),
                                   QStringLiteral("Do you want to save the new list ?"), QStringLiteral("Yes"),
                                   QStringLiteral("No"));
    if (answer == Alerts::DefaultButton)
        updateServerListPreference();
}

void Zorvel::createGameRotation()
{
    if (!m_currentServer || !m_currentServer->lastUpdate()) {
        Alerts::current().runAlert(QStringLiteral("Defining a game rotation"),
                                   QStringLiteral("You must refresh the server before use"), QStringLiteral("OK"));
        return;
    }
    if (!_gameRotationWindow)
        _gameRotationWindow = std::make_unique<GameRotation>();
    QStringList gametypes;
    for (int i = 0; mainWindow && i < mainWindow->controls().gametypeListComboBox->count(); ++i)
        gametypes.append(mainWindow->controls().gametypeListComboBox->itemText(i));
    _gameRotationWindow->setTheServer(m_currentServer);
    _gameRotationWindow->setAvailableGametypes(gametypes);
    _gameRotationWindow->prepareUI();
    _gameRotationWindow->show();
    _gameRotationWindow->raise();
}
