#pragma once

#include <QString>

// A count with its noun, the number grouped the locale's way: "1 server", "0 servers",
// "1,689 servers" in English. Every count Zorvel shows is written through it, so that
// two counts in one window never read differently.
namespace CountText {

QString of(qsizetype count, const QString& singular, const QString& plural);
// The number alone, grouped the locale's way.
QString number(qsizetype count);

}  // namespace CountText
