#pragma once

#include <QByteArray>
#include <QString>

// Makes a fresh folder under the system's temporary folder (in memory where
// the system has one, so that the many small saves cost no disk) the current
// directory for the rest of the run; the program's paths are relative to it.
// The folder is removed when the run ends. The files and folders named on
// the command line (not the -flags) are made absolute first, so that they
// still name what they named.
void EnterScratchFolder(int& argumentCount, char**& arguments);

// Puts exactly these bytes into the file, creating its folders.
void PutFile(const QString& path, const QByteArray& bytes);

// The file's bytes; a missing file is a broken property.
QByteArray FileBytes(const QString& path);
