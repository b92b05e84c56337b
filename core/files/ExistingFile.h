#pragma once

#include <QByteArray>

#include <optional>
#include <sys/stat.h>

// What a save found at its target before writing anything.
struct ExistingFile {
    bool present = false;
    // Whether bytes holds the file's whole content.
    bool readable = false;
    QByteArray bytes;
    struct stat status {};
};

// What is at the target now, read once: this one reading decides whether the
// save writes and what it compares with the caller's expectation. A folder, a
// device or a pipe raises code 5 before it is opened. A file too large to be a
// line file counts as unreadable: it is never read whole.
ExistingFile InspectTarget(const QByteArray& path);

// Whether the file holds exactly content; none: whether it is missing.
bool HoldsContent(const ExistingFile& existing, const std::optional<QByteArray>& content);

// Raises EChangedWhileSaving unless path still names the file inspected, with
// the size and times it had then (or still names nothing). Called right before
// the rename or the in-place write, so that no change made until then is
// written over.
void RequireAsInspected(const QByteArray& path, const ExistingFile& existing);
