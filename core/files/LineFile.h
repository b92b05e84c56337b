#pragma once

#include "LineEnds.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// How CloseLineFileOver ended.
enum class CloseOutcome {
    Written,          // the file now holds the bytes written
    AlreadyThere,     // it held them already: nothing was touched
    ChangedElsewhere, // it did not hold what was expected: nothing was written
};

// One open line text file, in reading or in writing mode. A line read ends
// at CR LF, at a CR alone or at an LF alone; lines are written with the line
// ends given at the start of writing (LineEnds.h); a Ctrl-Z byte ends the
// file. Every failing operation raises EInOutError.
//
// A file opened for writing is checked at once (a missing folder, a folder or
// a device in its place), but nothing on disk changes until CloseLineFile
// completes it. A file that already holds exactly the bytes written is left
// alone: nothing is created, written or synced, and nothing is refused.
// Otherwise the bytes are saved as ReplaceFileContent (FileReplacement.h)
// describes: only then is it checked that the file may be written, and a
// failure at any point leaves the previous file as it was, or, for a file
// rewritten in place, says where a copy of its old content is. A LineFile
// that is destroyed without being closed (a failure left its handler)
// discards what was written to it.
//
// Every complete reading, write and folder made is told to the record of
// first readings (FileRecordObserver.h).
class LineFile {
public:
    LineFile(LineFile&&) noexcept;
    LineFile& operator=(LineFile&&) noexcept;
    ~LineFile();

    struct State;

private:
    explicit LineFile(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;

    friend LineFile OpenForReading(const QString& path);
    friend LineFile CreateForWriting(const QString& path, LineEnds lineEnds);
    friend bool AtEndOfFile(LineFile& file);
    friend QString ReadTextLine(LineFile& file);
    friend void WriteTextLine(LineFile& file, const QString& text);
    friend void WritePlainText(LineFile& file, const QString& text);
    friend void FlushText(LineFile& file);
    friend void CloseLineFile(LineFile& file);
    friend CloseOutcome CloseLineFileOver(LineFile& file,
                                          const std::optional<QByteArray>& expected);
    friend QByteArray ContentOf(const LineFile& file);
};

LineFile OpenForReading(const QString& path);
LineFile CreateForWriting(const QString& path, LineEnds lineEnds = LineEnds::CrLf);
bool AtEndOfFile(LineFile& file);
QString ReadTextLine(LineFile& file);
void WriteTextLine(LineFile& file, const QString& text);
void WritePlainText(LineFile& file, const QString& text);
void FlushText(LineFile& file);
void CloseLineFile(LineFile& file);

// Completes a file open for writing like CloseLineFile, but only over the
// content expected (none: no file). The one reading of the file that decides
// whether to write is compared with it, and the file is checked again right
// before the new bytes take its place, so that a change another program made
// until then is never written over.
CloseOutcome CloseLineFileOver(LineFile& file, const std::optional<QByteArray>& expected);

// The bytes of a file open for reading, all of them (past a Ctrl-Z too), or
// those written to a file open for writing so far.
QByteArray ContentOf(const LineFile& file);

// The bytes at path as they are now, read as a load reads them (a regular
// file of bounded size); none when the file is missing.
std::optional<QByteArray> ContentOnDisk(const QString& path);

// Creates one folder; its parent must exist (3) and nothing of that name may
// exist yet (183). The parent is synced, so that a power cut cannot take the
// folder away from what is saved in it later.
void MakeFolder(const QString& path);

// Removes the file a save to path writes: the end of its symbolic link chain,
// never the link. Nothing there is no failure; a folder, a device or a pipe
// raises code 5.
void RemoveFile(const QString& path);

// Removes the folder at path when nothing is in it; one that still holds
// something stays, and is no failure. True when it was removed.
bool RemoveFolderIfEmpty(const QString& path);

// True when the path names an existing file that is not a folder; false when
// nothing of that name exists, a folder on the way is missing, or the name is
// a folder. Any other failure to examine the path raises EInOutError with the
// code an open failing that way gives.
bool FileIsPresent(const QString& path);
// As FileIsPresent, but true for a folder too: whether a file may be created
// at path without taking the place of anything.
bool AnythingIsAt(const QString& path);
