#include "net/ProtocolLog.h"

// Warnings and worse are on, information and debugging lines off.
Q_LOGGING_CATEGORY(protocolLog, "zorvel.protocol", QtWarningMsg)
