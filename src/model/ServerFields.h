#pragma once

#include <QString>

class CodServer;

// The text fields of a server record by name, as the tables' columns name them
// ("serverName", "serverIp", "serverPing", "lastUpdate", ...).
namespace ServerFields {

using Text = QString (CodServer::*)() const;

// The getter of the named field, or null when the record has no text field of
// that name.
Text named(const QString& identifier);

}  // namespace ServerFields
