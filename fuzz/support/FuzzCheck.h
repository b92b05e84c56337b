#pragma once

#include <QByteArray>
#include <QString>

// A property of the code under fuzzing that the input broke: says which and
// with what, then aborts so that libFuzzer keeps the input as a finding.
[[noreturn]] void PropertyBroken(const char* property, const QString& detail);

inline void Require(bool holds, const char* property, const QString& detail = QString())
{
    if (!holds)
        PropertyBroken(property, detail);
}

// Bytes in a form that shows control characters, for the messages above.
QString Shown(const QByteArray& bytes);
