#pragma once

#include <QLoggingCategory>

// The diagnostic lines of the exchanges with game servers: they are for developers
// and stay off unless asked for, with QT_LOGGING_RULES="zorvel.protocol.info=true".
Q_DECLARE_LOGGING_CATEGORY(protocolLog)
