#pragma once

#include <QString>

#include <optional>

// The check of a server address typed, pasted or dropped by the user: four decimal
// numbers from 0 to 255 separated by dots, or a host name, then a colon and a UDP
// port from 1 to 65535, with nothing before, between or after them. Leading zeros
// are allowed: 10.0.0.01:28960 is a valid address, a favourite of its own beside
// 10.0.0.1:28960. A host name stays as typed; it is looked up at each exchange.
class AddressValidator {
public:
    // What is wrong with the address, in the words the new/modify sheet shows, or
    // nothing when it is valid.
    static std::optional<QString> problemWith(const QString& address);
    static bool isValid(const QString& address) { return !problemWith(address); }
};
