#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A scratch game folder for one test, made the current directory while it
// lives; the previous current directory comes back when it goes.
class ScratchGameFolder {
public:
    // An empty folder.
    ScratchGameFolder();
    // A copy of the repository's sample game folder, all five mods.
    static std::unique_ptr<ScratchGameFolder> WithSampleMods();
    ~ScratchGameFolder();
    ScratchGameFolder(const ScratchGameFolder&) = delete;
    ScratchGameFolder& operator=(const ScratchGameFolder&) = delete;

    QString Path() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
    QString previousDirectory_;
};

// Files as bytes, relative to the current directory; folders on the way are
// created for WriteBytes.
QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
// The lines joined with CR LF after each, as the editor writes them.
QByteArray CrLfLines(const QList<QByteArray>& lines);
