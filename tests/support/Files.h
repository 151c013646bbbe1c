#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// What a test reads back of the files Zorvel wrote.
namespace Files {

// The file's bytes; empty when it cannot be read.
QByteArray contentOf(const QString& path);
// The file's permission bits (0600...); a test fails when the file is missing.
mode_t permissionsOf(const QString& path);

}  // namespace Files
