#pragma once

#include <sys/stat.h>

// A file's times as stat() gives them, to the nanosecond: equal times are
// how an unchanged file is told from one written since.
inline bool SameTimeStamp(const struct timespec& one, const struct timespec& other)
{
    return one.tv_sec == other.tv_sec && one.tv_nsec == other.tv_nsec;
}
