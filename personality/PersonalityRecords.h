#pragma once

#include <QStringList>

#include <optional>

// How the lines of a personality file fall into records: each record is the
// 28 lines of the fields and the team line, which the file's last record
// may lack. Blank lines after a complete record are no record.

constexpr qsizetype FieldLines = 28;

// Whether no line from the one given on holds anything but blanks.
bool OnlyBlankFrom(const QStringList& lines, qsizetype from);

// The lines of the record that begins at start, 28 or 29; it may run past
// the file's end (a record that ends early).
qsizetype RecordLength(const QStringList& lines, qsizetype start);

// Where each record begins, in order; none when the file holds no record or
// its last record ends early.
QList<qsizetype> RecordStarts(const QStringList& lines);

// Where the last record begins; none when the file holds no record or its
// last record ends early.
std::optional<qsizetype> LastRecordStart(const QStringList& lines);
