#pragma once

#include <QString>

#include <optional>

// The check of a server address typed or pasted by the user: a dotted IPv4 address,
// a colon and a UDP port. Each number is read by its leading integer, so text behind
// a number's digits is ignored, and so are pieces beyond the four address numbers
// and the port.
class AddressValidator {
public:
    // What is wrong with the address, in the words the new/modify sheet shows, or
    // nothing when it is valid.
    static std::optional<QString> problemWith(const QString& address);
    static bool isValid(const QString& address) { return !problemWith(address); }
};
