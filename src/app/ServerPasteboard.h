#pragma once

#include "model/CodServer.h"

#include <QString>

class QMimeData;

// How favourites travel through the clipboard and by drag and drop. A drag carries a
// favourite's address as plain text; the clipboard carries it as plain text too, and
// also the archived record (name, address, rcon password) under the private format
// "CodServer" (with "CodServerNamedByUser" when the user typed its name), so that a
// favourite copied inside Zorvel comes back whole while an address copied from
// another program becomes a bare favourite.
class ServerPasteboard {
public:
    static const QString codServerType;
    // Present, and empty, when the favourite's name is one the user typed.
    static const QString namedByUserType;

    // The clipboard data of a favourite: its address as text and its archived record.
    static QMimeData* clipboardData(const CodServer& server);
    // A new favourite made from clipboard data: the archived record when the data
    // has one, otherwise the plain-text address. Null when the archive cannot be
    // decoded or its address is empty or holds blanks or control characters, or when
    // the text is not a valid address. An archived address is not checked further:
    // favourites stored under older address rules come back as they were cut.
    static CodServerPtr favouriteFrom(const QMimeData& data);
    // A favourite with only an address (the text without surrounding blanks), no
    // name and no password; null when the text is not a valid address.
    static CodServerPtr favouriteWithAddress(const QString& text);

private:
    // An address text that some rules could have taken: not empty, without blanks or
    // control characters.
    static bool couldBeAddress(const QString& text);
};
