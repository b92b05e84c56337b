#pragma once

#include <QtGlobal>

// How much history is kept, and when saves count as one version.
struct HistoryLimits {
    // Versions kept of one file; the oldest one always stays besides.
    static constexpr int versionsPerFile = 200;
    // Versions older than this go; the oldest one of each file stays.
    static constexpr int daysKept = 90;
    // A larger content is recorded as a version without its content.
    static constexpr qint64 largestContent = 1024 * 1024;
    // Saves of one run this close together are one version: typing.
    static constexpr int mergeSeconds = 10;
};
