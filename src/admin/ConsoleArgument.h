#pragma once

#include <QString>

// Text that goes into a console command as an argument: a player's name, or what the
// administrator typed. The server ends a command at a semicolon or a line end, ends
// a bare argument at a blank, and takes a double quote as the start or the end of a
// quoted argument, so such text would cut the argument or run a command of its own.
namespace ConsoleArgument {

// Whether the server reads the text whole as one bare argument.
bool readsAsOneWord(const QString& text);
// Whether the server reads the text whole between double quotes.
bool readsWithinQuotes(const QString& text);

}  // namespace ConsoleArgument
