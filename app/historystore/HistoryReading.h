#pragma once

#include "StoredVersion.h"

#include <QSqlDatabase>

#include <vector>

// The versions of a file of a game folder, newest first, with content.
std::vector<StoredVersion> AllVersions(const QSqlDatabase& database, const QString& gameFolder, const QString& file);
std::optional<StoredVersion> NewestVersion(const QSqlDatabase& database, const QString& gameFolder, const QString& file);
std::optional<StoredVersion> NumberedVersion(const QSqlDatabase& database, const QString& gameFolder,
                                             const QString& file, int number);
