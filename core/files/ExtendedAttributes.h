#pragma once

#include <QByteArray>

// Gives the open file the extended attributes of the file at path, its ACL
// (system.posix_acl_access) included, and removes those it has that the file
// at path has not. True when they match; false when one cannot be read,
// copied or removed (a file system without them counts as matching).
bool CopyAttributes(const QByteArray& path, int descriptor);
