#pragma once

#include "admin/GameRotation.h"
#include "model/CodServer.h"
#include "model/GameKind.h"

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QStringList>

class MainWindow;
class QAction;

// The application controller: one object for the whole run that owns the shared
// state (the favourites, the gametype lists, the master lists, the game images and
// the flags of the running work), registers the default settings, loads the stored
// favourites, and stores them again at quit when they changed.
class Zorvel : public QObject {
    Q_OBJECT
public:
    // Registers the default settings, loads the favourites, builds the gametype
    // lists, loads the images and detects the installed games.
    explicit Zorvel(QObject* parent = nullptr);

    // Sets up the main window once its controls exist.
    void awakeFromNib(MainWindow& window);

    // Whether a menu command, named by its action's objectName, is enabled now.
    bool validateMenuItem(const QAction& item) const;

    // Recomputes what the main window shows from the current state.
    void updateUI();
    // The selected favourite becomes the current server.
    void tableViewSelectionDidChange();

    // Stores the favourites under "myServers" when they changed since last stored.
    void updateServerListPreference();
    // Closing the main window ends the run.
    void windowWillClose();
    // At quit, offers to store a modified list of favourites.
    void applicationWillTerminate();

    // Opens the game rotation editor on the current server with the gametypes of the
    // drawer's list; refused for a server that was never refreshed.
    void createGameRotation();

    bool hasCoD() const { return m_hasCoD; }
    bool hasUO() const { return m_hasUO; }
    bool hasCoD2() const { return m_hasCoD2; }
    bool hasCoD4() const { return m_hasCoD4; }
    bool hasUrbanTerror() const { return m_hasUrbanTerror; }

    const QList<CodServerPtr>& myServers() const { return m_myServers; }
    const QStringList& codGameTypeArray() const { return m_codGameTypeArray; }
    const QStringList& uoGameTypeArray() const { return m_uoGameTypeArray; }
    const QStringList& cod2GameTypeArray() const { return m_cod2GameTypeArray; }
    const QStringList& cod4GameTypeArray() const { return m_cod4GameTypeArray; }
    const QStringList& AWEGameTypeArray() const { return m_AWEGameTypeArray; }
    const QList<CodServerPtr>& activeCodServers() const { return m_activeCodServers; }
    const QList<CodServerPtr>& activeUOServers() const { return m_activeUOServers; }
    const QList<CodServerPtr>& activeCod2Servers() const { return m_activeCod2Servers; }
    const QList<CodServerPtr>& activeCod4Servers() const { return m_activeCod4Servers; }

    bool listOfServersModified() const { return m_listOfServersModified; }
    void setListOfServersModified(bool modified) { m_listOfServersModified = modified; }
    bool refreshAllInProgress() const { return m_refreshAllInProgress; }

    bool codMasterIsRefreshing() const { return m_codMasterIsRefreshing; }
    bool uoMasterIsRefreshing() const { return m_uoMasterIsRefreshing; }
    bool cod2MasterIsRefreshing() const { return m_cod2MasterIsRefreshing; }
    bool cod4MasterIsRefreshing() const { return m_cod4MasterIsRefreshing; }
    void setCodMasterIsRefreshing(bool refreshing) { m_codMasterIsRefreshing = refreshing; }
    void setUOMasterIsRefreshing(bool refreshing) { m_uoMasterIsRefreshing = refreshing; }
    void setCod2MasterIsRefreshing(bool refreshing) { m_cod2MasterIsRefreshing = refreshing; }
    void setCod4MasterIsRefreshing(bool refreshing) { m_cod4MasterIsRefreshing = refreshing; }

    CodServerPtr currentServer() const { return m_currentServer; }

    // The icon of a game; a null pixmap for a game without one.
    QPixmap gameImage(GameKind kind) const;
    QPixmap punkbusterImage() const { return m_punkbusterImage; }
    QPixmap passwordImage() const { return m_passwordImage; }

private:
    static QByteArray registerDefaults();
    static QList<CodServerPtr> loadMyServers(const QByteArray& presetArchive);
    static bool isInstalled(const QString& applicationIdentifier);
    bool anyMasterIsRefreshing() const;
    // The selected row of the favourites table, or -1.
    int selectedFavouriteRow() const;

    QList<CodServerPtr> m_myServers;
    const QStringList m_codGameTypeArray;
    const QStringList m_uoGameTypeArray;
    const QStringList m_cod2GameTypeArray;
    const QStringList m_cod4GameTypeArray;
    const QStringList m_AWEGameTypeArray;
    QList<CodServerPtr> m_activeCodServers;
    QList<CodServerPtr> m_activeUOServers;
    QList<CodServerPtr> m_activeCod2Servers;
    QList<CodServerPtr> m_activeCod4Servers;
    std::unique_ptr<GameRotation> _gameRotationWindow;
    bool m_listOfServersModified = false;
    bool m_hasCoD = false;
    bool m_hasUO = false;
    bool m_hasCoD2 = false;
    bool m_hasCoD4 = false;
    bool m_hasUrbanTerror = false;
    bool m_refreshAllInProgress = false;
    bool m_codMasterIsRefreshing = false;
    bool m_uoMasterIsRefreshing = false;
    bool m_cod2MasterIsRefreshing = false;
    bool m_cod4MasterIsRefreshing = false;
    CodServerPtr m_currentServer;
    QPixmap m_codGameImage;
    QPixmap m_uoGameImage;
    QPixmap m_cod2GameImage;
    QPixmap m_cod4GameImage;
    QPixmap m_ETGameImage;
    QPixmap m_UrbanTerrorGameImage;
    QPixmap m_UT2k4GameImage;
    QPixmap m_punkbusterImage;
    QPixmap m_passwordImage;

    MainWindow* mainWindow = nullptr;
};
