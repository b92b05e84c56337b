#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include <sys/stat.h>

// The first line of the file at a path (already in the system's encoding), by
// the line rules: up to the first CR, LF or Ctrl-Z, or the end of the file, but
// no further than the first 64 KiB. It reads only as far as that line
// reaches, with as few system calls as the checks allow, for lists that read
// the first line of many files at once.
//
// Nothing when no file is there, as FileIsPresent sees it (missing, or a
// folder). Otherwise it fails like OpenForReading and ReadTextLine would: a
// pipe or a device gives EInOutError 5 at once without waiting for a writer,
// a file that cannot be opened or read gives the system's error.
//
// status receives the status of the file read; it is left as it was when no
// file was opened.
std::optional<QString> ReadFirstLineIfPresent(const QByteArray& path, struct stat& status);
