#pragma once

// Which of the joinable games are installed on this machine, as the application
// controller found them at start-up. A game that is not installed cannot be joined.
struct InstalledGames {
    bool hasCoD = false;
    bool hasUO = false;
    bool hasCoD2 = false;
    bool hasCoD4 = false;
    bool hasUrbanTerror = false;
};
