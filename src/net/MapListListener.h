#pragma once

#include "model/CodServer.h"

#include <functional>

// The one party told that a record's map list was rebuilt: the application controller,
// which refills its map pick list from that record. The network layer calls out
// through it and never into the application itself.
class MapListListener {
public:
    using Listener = std::function<void(const CodServerPtr&)>;

    // Installs the listener, replacing any earlier one; an empty one removes it.
    static void setMapListListener(Listener listener);

    // Tells the listener that the record's map list was rebuilt. The listener runs on
    // the UI thread: at once when called there, queued onto it otherwise.
    static void mapListRefreshed(const CodServerPtr& server);

private:
    static void tellListener(const CodServerPtr& server);
};
