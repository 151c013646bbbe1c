#include "app/Zorvel.h"

#include "app/MainWindow.h"
#include "app/RegisteredSettings.h"
#include "model/GameCatalogue.h"
#include "net/MapListListener.h"
#include "platform/Alerts.h"
#include "platform/Preferences.h"

#include "ui_MainWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QSessionManager>

// The images are compiled into the app layer's static library, where the linker
// drops their registration unless some code refers to it: this reference keeps it in.
static bool registerImageResources()
{
    Q_INIT_RESOURCE(zorvel);
    return true;
}

namespace {

const QString modifiedListTitle = QStringLiteral("Modified list of servers");

QPixmap imageResource(const QString& name)
{
    [[maybe_unused]] static const bool registered = registerImageResources();
    return QPixmap(QStringLiteral(":/images/") + name);
}

}  // namespace

Zorvel::Zorvel(QObject* parent)
    : QObject(parent)
    , m_AWEGameTypeArray{"actf", "htf", "rsd", "dem", "ad", "lts"}
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
    for (const GameDescription& game : GameCatalogue::standard().games())
        masterScans.push_back(std::make_unique<MasterScan>(game, scanEngine, masterListsLock));
    loadMyServers(registerDefaults());
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &Zorvel::stopMasterScans);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &Zorvel::applicationWillTerminate);
    connectSessionManager();
    connect(&serverConsole, &ServerConsole::commandHandled, this, &Zorvel::updateUI);
    connect(&serverConsole, &ServerConsole::outcome, this, &Zorvel::showOutcome);
    connect(&serverConsole, &ServerConsole::playersMayHaveChanged, this, &Zorvel::refreshAfterConsoleCommand);
    connectFinders();
    connectHistory();
    connect(this, &Zorvel::masterListsChanged, &watches, &Watches::serversChanged);
}

Zorvel::~Zorvel()
{
    stopRefreshAll();
}

// Registers every setting with the store (in memory, never written) and returns the
// archive of the preset favourites list, the default of "myServers".
QByteArray Zorvel::registerDefaults()
{
    return RegisteredSettings::registerWithStandardStore();
}

// The stored favourites, as many as can be read: a damaged stored value is kept in a
// copy beside the settings, and the window tells so once it shows. The recovery copy
// is read now, before this run writes its own.
void Zorvel::loadMyServers(const QByteArray& presetArchive)
{
    storedFavourites = favouritesStore.load(presetArchive);
    m_myServers.replaceServers(std::exchange(storedFavourites.servers, {}));
    unsavedFavourites = favouritesStore.recoveryCopy();
    restoreUnanswered = unsavedFavourites.has_value();
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
    serverConsole.setDrawer({controls.mapListComboBox, controls.gametypeListComboBox, controls.sayField,
                             controls.rconField, controls.newPassword, controls.execComboBox,
                             controls.banOneMinuteButton, controls.banTenMinutesButton,
                             controls.banThirtyMinutesButton});
    updateUI();
    QMetaObject::invokeMethod(this, &Zorvel::tellWhatStartUpFound, Qt::QueuedConnection);
    // No timer exists yet: switched on, the periodic refresh starts and fires at once.
    const Preferences& store = Preferences::standard();
    handleRefreshChange(store.boolForKey(QStringLiteral("Auto Refresh")),
                        store.integerForKey(QStringLiteral("Refresh delay in seconds")));
}

bool Zorvel::validateMenuItem(const QAction& item) const
{
    static const QStringList selectionCommands = {QStringLiteral("copy"), QStringLiteral("cut"),
                                                  QStringLiteral("delete"), QStringLiteral("modifyServer"),
                                                  QStringLiteral("refreshServer")};
    static const QStringList joinCommands = {QStringLiteral("goToServer"), QStringLiteral("goToServerWithPassword")};
    static const QStringList playerCommands = {QStringLiteral("kickPlayer"), QStringLiteral("kickPlayerByName"),
                                               QStringLiteral("banPlayer"), QStringLiteral("banPlayerByName")};
    const QString action = item.objectName();
    if (selectionCommands.contains(action))
        return selectedFavouriteRow() >= 0;
    if (action.startsWith(u"scan-"))
        return !anyMasterIsRefreshing();
    if (action == u"infoOnServer")
        return mainWindow && mainWindow->controls().infoServerButton->isEnabled();
    if (joinCommands.contains(action))
        return mainWindow && mainWindow->controls().goToServerButton->isEnabled();
    // A kick or a ban needs the drawer's console and a player chosen on its server.
    if (playerCommands.contains(action))
        return mainWindow && !mainWindow->controls().rconDrawer->isHidden() && serverConsole.hasChosenPlayer()
               && !(action.startsWith(u"ban") && mainWindow->controls().banButton->isHidden());
    // The entry stands for the drawer's button: a server without the drawer has no
    // console to take a rotation.
    if (action == u"createGameRotation")
        return mainWindow && !mainWindow->controls().rconDrawer->isHidden();
    return true;
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
    serverConsole.setDrawer({});
    mainWindow = nullptr;
}

void Zorvel::showOutcome(const QString& message)
{
    if (mainWindow)
        mainWindow->showOutcome(message);
}

QString Zorvel::playerNameToFind() const
{
    return mainWindow ? mainWindow->controls().playerNameToFind->text() : QString();
}

bool Zorvel::isGameInstalled(const CodServer& server) const
{
    const GameDescription* game = GameCatalogue::standard().gameOf(server.serverGameName(), server.serverRules());
    return game && m_installedGames.has(game->id);
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

QPixmap Zorvel::gameImageOf(const CodServer& server) const
{
    const QPixmap ofKind = gameImage(gameKindOf(server.serverGameName()));
    if (!ofKind.isNull())
        return ofKind;
    const GameDescription* game = GameCatalogue::standard().gameOf(server.serverGameName(), server.serverRules());
    return game ? QPixmap(QStringLiteral(":/images/games/%1.png").arg(game->id)) : QPixmap();
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

bool Zorvel::updateServerListPreference()
{
    if (!m_listOfServersModified)
        return true;
    if (!favouritesStore.store(m_myServers.servers()))
        return false;
    m_listOfServersModified = false;
    return true;
}

void Zorvel::windowWillClose()
{
    QCoreApplication::quit();
}

bool Zorvel::applicationShouldTerminate()
{
    // The names that the run learnt so far count for the prompt; nothing changes the
    // list behind it afterwards.
    stopRefreshAll();
    if (quitPromptAnswered || !m_listOfServersModified)
        return true;
    const Alerts::Answer answer =
        Alerts::current().runAlert(modifiedListTitle, QStringLiteral("Do you want to save the new list ?"),
                                   QStringLiteral("Yes"), QStringLiteral("No"));
    if (answer != Alerts::DefaultButton && answer != Alerts::AlternateButton)
        return false;
    if (answer == Alerts::DefaultButton && !updateServerListPreference()) {
        Alerts::current().runAlert(
            modifiedListTitle,
            QStringLiteral("The list of servers could not be stored in %1. Zorvel stays open: quit again to "
                           "retry, or answer No to quit without storing it.")
                .arg(Preferences::standard().filePath()),
            QStringLiteral("OK"));
        return false;
    }
    quitPromptAnswered = true;
    favouritesStore.discardRecoveryCopy();
    return true;
}

void Zorvel::applicationWillTerminate()
{
    applicationShouldTerminate();
}

bool Zorvel::commitData(bool interactionAllowed)
{
    return !interactionAllowed || applicationShouldTerminate();
}

void Zorvel::connectSessionManager()
{
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application)
        return;
    connect(application, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        const bool interactionAllowed = manager.allowsInteraction();
        if (!commitData(interactionAllowed))
            manager.cancel();
        if (interactionAllowed)
            manager.release();
    });
}

void Zorvel::keepRecoveryCopy()
{
    if (restoreUnanswered || favouritesStore.keepRecoveryCopy(m_myServers.servers()) || toldRecoveryCopyFailed)
        return;
    toldRecoveryCopyFailed = true;
    showOutcome(QStringLiteral("Unsaved changes of the favourite servers are not being kept: %1 cannot be written")
                    .arg(FavouritesStore::recoveryCopyPath()));
}

void Zorvel::tellWhatStartUpFound()
{
    tellAboutDamagedSettingsFile();
    tellAboutUnreadGames();
    tellAboutDamagedFavourites();
    offerToRestoreUnsavedFavourites();
}

// The user's games.json could not be read: the built-in games are used.
void Zorvel::tellAboutUnreadGames()
{
    const QString problem = GameCatalogue::standard().userFileProblem();
    if (!problem.isEmpty())
        Alerts::current().runAlert(QStringLiteral("Games left aside"), problem, QStringLiteral("OK"));
}

void Zorvel::tellAboutDamagedSettingsFile() const
{
    const Preferences& store = Preferences::standard();
    if (!store.fileWasDamaged())
        return;
    tellAboutDamage(QStringLiteral("Damaged settings"),
                    QStringLiteral("Some lines of the settings file %1 could not be read: the settings they "
                                   "held read as their defaults.")
                        .arg(store.filePath()),
                    QStringLiteral("the file"), store.damagedFileCopy());
}

// Told once: the list as it was read then replaces the damaged value, which its copy
// keeps, so that the next start finds a whole list. Without a copy nothing is written.
void Zorvel::tellAboutDamagedFavourites()
{
    if (!storedFavourites.damaged)
        return;
    tellAboutDamage(
        QStringLiteral("Damaged list of servers"),
        storedFavourites.unreadable
            ? QStringLiteral("%1 of the stored favourite servers could not be read.").arg(*storedFavourites.unreadable)
            : QStringLiteral("The stored list of favourite servers is damaged: some may be missing."),
        QStringLiteral("the stored list"), storedFavourites.copyPath);
    if (storedFavourites.copyPath && !m_listOfServersModified)
        favouritesStore.store(m_myServers.servers());
}

void Zorvel::tellAboutDamage(const QString& title, const QString& damage, const QString& damaged,
                             const std::optional<QString>& copy)
{
    Alerts::current().runAlert(title, damage + u' ' + keptCopy(damaged, copy), QStringLiteral("OK"));
}

QString Zorvel::keptCopy(const QString& damaged, const std::optional<QString>& copy)
{
    return copy ? QStringLiteral("A copy of %1 as it was is kept in %2.").arg(damaged, *copy)
                : QStringLiteral("No copy of %1 could be kept, so Zorvel will not write over it.").arg(damaged);
}

void Zorvel::offerToRestoreUnsavedFavourites()
{
    const std::optional<FavouritesStore::Loaded> unsaved = std::exchange(unsavedFavourites, std::nullopt);
    if (!unsaved)
        return;
    const Alerts::Answer answer = Alerts::current().runAlert(
        QStringLiteral("Unsaved list of servers"),
        QStringLiteral("The last run of Zorvel ended without the quit prompt, and its list of servers had "
                       "changes that were not saved.%1 Do you want to restore them ?")
            .arg(damageOf(*unsaved)),
        QStringLiteral("Restore"), QStringLiteral("Discard"));
    restoreUnanswered = false;
    // Only "Discard" lets the changes go: restored, they are still stored only if the
    // user says so at quit.
    if (answer == Alerts::AlternateButton) {
        // Changes this run made meanwhile keep their own copy.
        if (m_listOfServersModified)
            keepRecoveryCopy();
        else
            favouritesStore.discardRecoveryCopy();
        return;
    }
    m_myServers.replaceServers(unsaved->servers);
    m_currentServer.reset();
    if (mainWindow)
        mainWindow->selectFavouriteRow(-1);
    favouritesDidChange();
}

QString Zorvel::damageOf(const FavouritesStore::Loaded& unsaved)
{
    if (!unsaved.damaged)
        return {};
    const QString unread = unsaved.unreadable
        ? QStringLiteral("%1 of its favourite servers could not be read.").arg(*unsaved.unreadable)
        : QStringLiteral("Some of its favourite servers could not be read.");
    return u' ' + unread + u' ' + keptCopy(QStringLiteral("the unsaved list"), unsaved.copyPath);
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
