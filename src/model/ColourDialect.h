#pragma once

// How a game writes colours into names and printed text. Every dialect knows a caret
// followed by one digit; DarkPlaces games (Nexuiz, Xonotic) also write any colour as a
// caret, an "x" and three hexadecimal digits.
enum class ColourDialect { CaretDigit, DarkPlaces };
