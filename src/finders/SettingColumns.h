#pragma once

#include "model/CodServer.h"
#include "model/ServerFields.h"

#include <QPixmap>
#include <QString>
#include <QVariant>

// The server finder's columns that show the state of a server setting, which the
// record holds as a number in a text, instead of the number. They are read-only, and
// each tells its state in words as its tooltip and to screen readers:
//
//   "serverPassActive"    the password icon when it is 1       "Password required", "No password"
//   "serverPunkBuster"    the PunkBuster icon when it is not 0 "PunkBuster on", "PunkBuster off"
//   "serverFriendlyFire"  checked when 1, unchecked when 0,    "Friendly fire on", "Friendly fire off",
//                         partly checked for any other value   "Friendly fire reflected"
//   "serverKillCam"       checked when it is not 0             "Kill cam on", "Kill cam off"
//   "serverPure"          checked when it is not 0             "Pure: unmodified game files only",
//                                                              "Not pure: modified game files allowed"
namespace SettingColumns {

// The icons of the columns that show one.
struct Icons {
    QPixmap password;
    QPixmap punkBuster;
};

// The text field that the column reads, or null when it shows no setting.
ServerFields::Text fieldOf(const QString& identifier);

// The cell of a setting column for the role: the icon or the check mark, and the
// state in words; no display text.
QVariant data(const CodServer& server, const QString& identifier, int role, const Icons& icons);

}  // namespace SettingColumns
