#pragma once

#include <QtGlobal>

// A UDP port on 127.0.0.1 that nothing holds right now, for a game server to take.
quint16 freeLoopbackPort();
