#pragma once

#include "model/CodServer.h"

#include <QList>
#include <QObject>

#include <memory>

class FinderHost;
class PlayerFinder;
class ServerFinder;

// The server finder and the player finder of the run, each made at its first opening
// and kept to the end of the run. The open ones follow the master scans: they bring
// their controls up to date when a scan starts and take copies of the four lists each
// time the lists grow.
class Finders : public QObject {
    Q_OBJECT
public:
    explicit Finders(FinderHost& controller, QObject* parent = nullptr);
    ~Finders() override;

    // Show the finder in front, with copies of the four master lists.
    void showFindServerWindow();
    void showFindPlayerOrClanPanel();

    // Shows the server finder in front with the servers found on the local network.
    void showLocalNetwork(const QList<CodServerPtr>& servers);
    // A scan started: the open finders bring their controls up to date.
    void updateFindersUI();
    // The lists grew or a scan ended: hands copies of the four lists to the player
    // finder, then the server finder, each if it exists.
    void handMasterListsToFinders();

private:
    FinderHost& controller;
    std::unique_ptr<PlayerFinder> _findPlayerOrClanWindow;
    std::unique_ptr<ServerFinder> _findServerWindow;
};
