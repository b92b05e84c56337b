#pragma once

#include "VersionMaker.h"

#include <QByteArray>
#include <QDateTime>

#include <optional>

// One version of a file as the history keeps it.
struct StoredVersion {
    // Counted per file from 1; a number is never given twice, not even after
    // its version went.
    int number = 0;
    QDateTime madeAt; // UTC
    VersionMaker maker = VersionMaker::FirstReading;
    // None when the file was removed, or when the content was too large.
    std::optional<QByteArray> content;
    bool tooLarge = false;
};
