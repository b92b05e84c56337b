#pragma once

#include "LineEnds.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Puts the fields the user changed into the personality that the page shows
// of content, the last record, and keeps every other byte: before and after
// are the page's lines (PersonalityLines) when it last held the file and
// now. A team line the record lacks is added when the team changed, in
// these line ends. None when content holds no complete record.
std::optional<QString> MergePersonality(const QByteArray& content, const QStringList& before,
                                        const QStringList& after, LineEnds ends);

