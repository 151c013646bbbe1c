#pragma once

#include <QString>

// A count with its noun: "1 server", "0 servers", "12 servers".
namespace CountText {

QString of(qsizetype count, const QString& singular, const QString& plural);

}  // namespace CountText
