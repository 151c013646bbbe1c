#pragma once

#include "admin/MapForRotation.h"
#include "admin/SavedConfigs.h"
#include "model/CodServer.h"

#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class GameRotation;
}
class AvailableMapsModel;
class GametypePopUpCell;
class QTableView;
class RotationMapsModel;

// The game rotation editor: a window in which the administrator composes the map
// rotation of one server from the maps installed on it, gives each map a gametype,
// keeps rotations under names, and sends the rotation to the server as one console
// command that replaces the server's current rotation. One editor serves the whole
// run; each opening binds it to a server and starts it with an empty rotation.
class GameRotation : public QWidget {
    Q_OBJECT
public:
    explicit GameRotation(QWidget* parent = nullptr);
    ~GameRotation() override;

    Ui::GameRotation& controls() { return *ui; }

    void setTheServer(const CodServerPtr& server);
    void setAvailableGametypes(const QStringList& gametypes);
    const QList<MapForRotation>& theMapsForRotation() const;

    // Readies the window for the server and gametypes just given: an empty rotation,
    // the server's maps and the gametypes to choose from.
    void prepareUI();
    // Redraws the rotation and enables the buttons that have something to act on.
    void updateUI();

    // Adds the selected map of the server with the gametype of new maps: above the
    // selected rotation entry when inserting, else at the end.
    void addMap();
    void removeMap();
    void removeAllMaps();
    // Takes out the entries whose map the server lacks.
    void clearMaps();
    void changeAllGametypes();
    // Empties the server's rotation now, sends the new one a double-command latency
    // later and, when asked, starts it three latencies later; closes the window. A
    // rotation without a map of the server, or too long to reach it whole, is refused
    // with an alert and nothing is sent.
    void createGameRotation();
    void cancelGameRotation();

    // The named rotations, by the name in the configuration box.
    void saveConfig();
    void recallConfig();
    void deleteConfig();

private:
    void connectActions();
    void setUpTables();
    QStringList serverMaps() const;
    QList<MapForRotation>& rotation();
    // Tells why nothing is sent.
    static void refuseToSend(const QString& reason);
    // Sends the command to the server that this rotation goes to, after the delay.
    void scheduleRconCommand(const QString& command, double seconds);
    // Lists the saved names in the configuration box, keeping the text typed in it.
    void showConfigNames();
    void showWhyListsAreEmpty(bool hasMaps, bool hasGametypes);
    void updateConfigButtons();

    CodServerPtr theServer;
    QStringList availableGametypes;
    std::unique_ptr<Ui::GameRotation> ui;
    AvailableMapsModel* availableMapsModel = nullptr;
    RotationMapsModel* rotationMapsModel = nullptr;
    GametypePopUpCell* gametypePopUpCell = nullptr;
    SavedConfigs savedConfigs;
};
