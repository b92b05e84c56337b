// The safe replacement of a file written through CreateForWriting ...
// CloseLineFile: the old content stays until the close, and a save keeps the
// file's permissions, owner, identity, links and attributes, also when the
// probe injects faults into its system calls or another program swaps the
// file (see LineFileProbe.h).

#include "LineFile.h"
#include "LineFileProbe.h"
#include "LineFileTestCase.h"
#include "RawFiles.h"

#include <QtTest>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

class TestLineFileReplacement : public LineFileTestCase {
    Q_OBJECT

private slots:
    // Safe replacement.
    void createForWritingKeepsOldContentUntilClose();
    void newFileAppearsOnlyAtClose();
    void destroyedWithoutCloseKeepsOldFile();
    void failureInHandlerKeepsOldFile();
    void abandonedInAnotherProcessKeepsOldFile();
    void realWriteFailureKeepsOldFile_data();
    void realWriteFailureKeepsOldFile();
    void renameFailureRemovesTemporary_data();
    void renameFailureRemovesTemporary();
    void permissionsKept_data();
    void permissionsKept();
    void newFileModeFollowsUmask_data();
    void newFileModeFollowsUmask();
    void ownerKeptWhenRoot_data();
    void ownerKeptWhenRoot();
    void fileKeepsItsIdentity_data();
    void fileKeepsItsIdentity();
    void symbolicLinkStaysALink();
    void symbolicLinkChainAcrossFolders();
    void danglingSymbolicLinkCreatesItsTarget();
    void unchangedContentIsNotReplaced();
    void unchangedContentStillChecked();
    void faultsDuringASave_data();
    void faultsDuringASave();
    void aFileSwappedInAfterTheInspectionIsNotWritten_data();
    void aFileSwappedInAfterTheInspectionIsNotWritten();
    void attributesSurviveASave_data();
    void attributesSurviveASave();
};

void TestLineFileReplacement::createForWritingKeepsOldContentUntilClose()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("personality.txt"));
    QByteArray old;
    for (int line = 1; line <= 29; ++line)
        old += QByteArray::number(line) + "\r\n";
    QVERIFY(PutFile(path, old));

    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 QCOMPARE(FileBytes(path), old);
                 WriteTextLine(file, QStringLiteral("new"));
                 FlushText(file);
                 QCOMPARE(FileBytes(path), old);
                 QCOMPARE(Entries(folder).size(), 1);  // no temporary before close
                 CloseLineFile(file);
             }),
             QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("new\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("personality.txt")}));
}

void TestLineFileReplacement::newFileAppearsOnlyAtClose()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("new.txt"));
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WriteTextLine(file, QStringLiteral("x"));
                 QVERIFY(!FileIsPresent(path));
                 CloseLineFile(file);
                 QVERIFY(FileIsPresent(path));
             }),
             QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("x\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("new.txt")}));
}

void TestLineFileReplacement::destroyedWithoutCloseKeepsOldFile()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("chat.txt"));
    const QString fresh = QDir(folder).filePath(QStringLiteral("fresh.txt"));
    QVERIFY(PutFile(path, "old line\r\n"));
    {
        LineFile file = CreateForWriting(path);
        LineFile other = CreateForWriting(fresh);
        WriteTextLine(file, QStringLiteral("new line"));
        WriteTextLine(other, QStringLiteral("new line"));
        FlushText(file);
        QCOMPARE(Entries(folder).size(), 1);
    }
    QCOMPARE(FileBytes(path), QByteArray("old line\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("chat.txt")}));
}

void TestLineFileReplacement::failureInHandlerKeepsOldFile()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("bot.cfg"));
    QVERIFY(PutFile(path, "old\r\n"));
    // A handler that fails after writing part of the file.
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WriteTextLine(file, QStringLiteral("half"));
                 throw EConvertError(QStringLiteral("x"));
             }),
             QStringLiteral("Exception 'x' is not a valid integer value"));
    QCOMPARE(FileBytes(path), QByteArray("old\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("bot.cfg")}));
}

void TestLineFileReplacement::abandonedInAnotherProcessKeepsOldFile()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("bot.cfg"));
    QVERIFY(PutFile(path, "old\r\n"));
    RUN_PROBE(run, {QStringLiteral("abandon"), path, QStringLiteral("6e6577")}, folder);
    QCOMPARE(run.output, QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("old\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("bot.cfg")}));
}

void TestLineFileReplacement::realWriteFailureKeepsOldFile_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("fits");
    QTest::newRow("10 bytes") << 10 << true;
    QTest::newRow("64 bytes, the limit") << 64 << true;
    QTest::newRow("65 bytes") << 65 << false;
    QTest::newRow("200 bytes") << 200 << false;
    QTest::newRow("50000 bytes") << 50000 << false;
}

void TestLineFileReplacement::realWriteFailureKeepsOldFile()
{
    QFETCH(int, size);
    QFETCH(bool, fits);
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("personality.txt"));
    const QByteArray old = "old personality\r\n3\r\n50\r\n";
    QVERIFY(PutFile(path, old));
    QVERIFY(SetMode(path, 0640));

    QByteArray content;
    for (int at = 0; at < size; ++at)
        content += char('a' + at % 26);
    ProbeOptions options;
    options.fileSizeLimit = 64;
    RUN_PROBE(run, {QStringLiteral("write"), path, QString::fromLatin1(content.toHex())}, folder,
              options);
    if (fits) {
        QCOMPARE(run.output, QStringLiteral("ok"));
        QCOMPARE(FileBytes(path), content);
    } else {
        QCOMPARE(run.output, DiskFull);
        QCOMPARE(FileBytes(path), old);
    }
    QCOMPARE(ModeOf(path), mode_t(0640));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("personality.txt")}));
}

// Another program puts something that is no file in the file's place between
// CreateForWriting and CloseLineFile: the save is refused at once (a pipe
// with no writer must not hold it up) and leaves no temporary file.
void TestLineFileReplacement::renameFailureRemovesTemporary_data()
{
    QTest::addColumn<bool>("pipe");
    QTest::newRow("folder") << false;
    QTest::newRow("pipe") << true;
}

void TestLineFileReplacement::renameFailureRemovesTemporary()
{
    QFETCH(bool, pipe);
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("file.txt"));
    QVERIFY(PutFile(path, "old\r\n"));
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WriteTextLine(file, QStringLiteral("new"));
                 QVERIFY(QFile::remove(path));
                 if (pipe) {
                     QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
                 } else {
                     QVERIFY(QDir().mkdir(path));
                     QVERIFY(PutFile(QDir(path).filePath(QStringLiteral("inside")), "x"));
                 }
                 CloseLineFile(file);
             }),
             AccessDenied);
    QCOMPARE(QFileInfo(path).isDir(), !pipe);
    if (!pipe)
        QCOMPARE(Entries(path), QStringList({QStringLiteral("inside")}));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("file.txt")}));
}

void TestLineFileReplacement::permissionsKept_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("0640") << 0640;
    QTest::newRow("0600") << 0600;
    QTest::newRow("0644") << 0644;
    QTest::newRow("0666") << 0666;
    QTest::newRow("0755") << 0755;
    QTest::newRow("0604") << 0604;
}

void TestLineFileReplacement::permissionsKept()
{
    QFETCH(int, mode);
    UmaskScope mask(077);  // the old mode wins over the umask
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("file.txt"));
    QVERIFY(PutFile(path, "old\r\n"));
    QVERIFY(SetMode(path, mode_t(mode)));
    QCOMPARE(Outcome([&] { WriteThroughLayer(path, "new\r\n"); }), QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("new\r\n"));
    QCOMPARE(ModeOf(path), mode_t(mode));
}

void TestLineFileReplacement::newFileModeFollowsUmask_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");
    QTest::newRow("022") << 022 << 0644;
    QTest::newRow("002") << 002 << 0664;
    QTest::newRow("077") << 077 << 0600;
    QTest::newRow("000") << 000 << 0666;
}

void TestLineFileReplacement::newFileModeFollowsUmask()
{
    QFETCH(int, mask);
    QFETCH(int, mode);
    const UmaskScope scope{mode_t(mask)};
    const QString path = QDir(NewFolder()).filePath(QStringLiteral("new.txt"));
    QCOMPARE(Outcome([&] { WriteThroughLayer(path, "x"); }), QStringLiteral("ok"));
    QCOMPARE(ModeOf(path), mode_t(mode));
}

void TestLineFileReplacement::ownerKeptWhenRoot_data()
{
    QTest::addColumn<bool>("rootsFile");
    QTest::newRow("another user's file") << false;
    QTest::newRow("root's file of another group") << true;
}

void TestLineFileReplacement::ownerKeptWhenRoot()
{
    QFETCH(bool, rootsFile);
    if (::geteuid() != 0)
        QSKIP("only root can give a file to another user");
    const struct passwd* entry = ::getpwnam("nobody");
    if (entry == nullptr || entry->pw_gid == 0)
        QSKIP("no user \"nobody\" with a group of its own");
    const uid_t owner = rootsFile ? 0 : entry->pw_uid;
    const QString path = QDir(NewFolder()).filePath(QStringLiteral("file.txt"));
    QVERIFY(PutFile(path, "old"));
    QCOMPARE(::chown(QFile::encodeName(path).constData(), owner, entry->pw_gid), 0);
    const ino_t inode = InodeOf(path);
    QCOMPARE(Outcome([&] { WriteThroughLayer(path, "new"); }), QStringLiteral("ok"));
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QCOMPARE(status.st_uid, owner);
    QCOMPARE(status.st_gid, entry->pw_gid);
    QVERIFY(status.st_ino != inode);  // replaced, not rewritten in place
    QCOMPARE(FileBytes(path), QByteArray("new"));
}

// Where a replacement by a new file would change what the file is (another
// name for it, another user's file, a folder that takes no new entry), the
// file is rewritten where it is; a failure part-way puts the old bytes back.
void TestLineFileReplacement::fileKeepsItsIdentity_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("fails");
    QTest::newRow("folder takes no new entry") << QStringLiteral("closed folder") << false;
    QTest::newRow("another user's file") << QStringLiteral("foreign owner") << false;
    QTest::newRow("second name") << QStringLiteral("hard link") << false;
    QTest::newRow("second name, write fails") << QStringLiteral("hard link") << true;
    QTest::newRow("closed folder, write fails") << QStringLiteral("closed folder") << true;
}

void TestLineFileReplacement::fileKeepsItsIdentity()
{
    QFETCH(QString, situation);
    QFETCH(bool, fails);
    ProbeOptions options;
    if (situation != QLatin1String("hard link") && !UnprivilegedChild(options.user))
        QSKIP("running as root without a user \"nobody\"");
    if (situation == QLatin1String("foreign owner") && ::geteuid() != 0)
        QSKIP("only root can make a file that belongs to someone else");

    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("bot.cfg"));
    const QString otherName = QDir(folder).filePath(QStringLiteral("other.cfg"));
    const QByteArray old = "pause 3\r\n";
    QVERIFY(PutFile(path, old));
    QVERIFY(SetMode(path, 0666));
    QStringList entries{QStringLiteral("bot.cfg")};
    if (situation == QLatin1String("hard link")) {
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(otherName).constData()), 0);
        entries << QStringLiteral("other.cfg");
    }
    if (situation == QLatin1String("foreign owner"))
        QVERIFY(SetMode(folder, 0777));
    if (situation == QLatin1String("closed folder"))
        QVERIFY(SetMode(folder, 0555));
    struct stat before {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);

    QByteArray content = fails ? QByteArray(200, 'x') : QByteArray("pause 5\r\nloadbot 1\r\n");
    if (fails)
        options.fileSizeLimit = 64;
    RUN_PROBE(run, {QStringLiteral("write"), path, QString::fromLatin1(content.toHex())}, folder,
              options);
    QVERIFY(SetMode(folder, 0755));

    QCOMPARE(run.output, fails ? DiskFull : QStringLiteral("ok"));
    const QByteArray expected = fails ? old : content;
    QCOMPARE(FileBytes(path), expected);
    if (situation == QLatin1String("hard link"))
        QCOMPARE(FileBytes(otherName), expected);
    struct stat after {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode, before.st_mode);
    std::sort(entries.begin(), entries.end());
    QCOMPARE(Entries(folder), entries);
}

void TestLineFileReplacement::symbolicLinkStaysALink()
{
    const QString folder = NewFolder();
    const QDir dir(folder);
    const QString target = dir.filePath(QStringLiteral("real.txt"));
    const QString relativeLink = dir.filePath(QStringLiteral("relative"));
    const QString absoluteLink = dir.filePath(QStringLiteral("absolute"));
    QVERIFY(PutFile(target, "old\r\n"));
    QVERIFY(SetMode(target, 0640));
    QVERIFY(MakeLink(QStringLiteral("real.txt"), relativeLink));
    QVERIFY(MakeLink(target, absoluteLink));

    QCOMPARE(Outcome([&] { WriteThroughLayer(relativeLink, "via relative\r\n"); }),
             QStringLiteral("ok"));
    QVERIFY(IsSymbolicLink(relativeLink));
    QCOMPARE(QFile::symLinkTarget(relativeLink), target);
    QCOMPARE(FileBytes(target), QByteArray("via relative\r\n"));
    QCOMPARE(ModeOf(target), mode_t(0640));

    QCOMPARE(Outcome([&] { WriteThroughLayer(absoluteLink, "via absolute\r\n"); }),
             QStringLiteral("ok"));
    QVERIFY(IsSymbolicLink(absoluteLink));
    QVERIFY(IsSymbolicLink(relativeLink));
    QCOMPARE(FileBytes(target), QByteArray("via absolute\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("absolute"), QStringLiteral("real.txt"),
                                           QStringLiteral("relative")}));
    QByteArrayList read;
    QCOMPARE(Outcome([&] { read = ReadThroughLayer(relativeLink); }), QStringLiteral("ok"));
    QCOMPARE(read, QByteArrayList({"via absolute"}));
}

void TestLineFileReplacement::symbolicLinkChainAcrossFolders()
{
    const QString folder = NewFolder();
    const QDir dir(folder);
    for (const char* name : {"a", "b", "c"})
        QVERIFY(dir.mkdir(QString::fromLatin1(name)));
    const QString target = dir.filePath(QStringLiteral("c/target.txt"));
    QVERIFY(PutFile(target, "old"));
    QVERIFY(MakeLink(QStringLiteral("../c/target.txt"), dir.filePath(QStringLiteral("b/second"))));
    QVERIFY(MakeLink(QStringLiteral("../b/second"), dir.filePath(QStringLiteral("a/first"))));

    QCOMPARE(Outcome([&] { WriteThroughLayer(dir.filePath(QStringLiteral("a/first")), "new"); }),
             QStringLiteral("ok"));
    QVERIFY(IsSymbolicLink(dir.filePath(QStringLiteral("a/first"))));
    QVERIFY(IsSymbolicLink(dir.filePath(QStringLiteral("b/second"))));
    QCOMPARE(FileBytes(target), QByteArray("new"));
    QCOMPARE(Entries(dir.filePath(QStringLiteral("a"))), QStringList({QStringLiteral("first")}));
    QCOMPARE(Entries(dir.filePath(QStringLiteral("b"))), QStringList({QStringLiteral("second")}));
    QCOMPARE(Entries(dir.filePath(QStringLiteral("c"))), QStringList({QStringLiteral("target.txt")}));

    // A loop of links fails and leaves nothing behind.
    QVERIFY(MakeLink(QStringLiteral("loop2"), dir.filePath(QStringLiteral("a/loop1"))));
    QVERIFY(MakeLink(QStringLiteral("loop1"), dir.filePath(QStringLiteral("a/loop2"))));
    QCOMPARE(Outcome([&] { CreateForWriting(dir.filePath(QStringLiteral("a/loop1"))); }),
             QStringLiteral("EInOutError %1 I/O error %1").arg(ELOOP));
    QCOMPARE(Entries(dir.filePath(QStringLiteral("a"))),
             QStringList({QStringLiteral("first"), QStringLiteral("loop1"),
                          QStringLiteral("loop2")}));
}

void TestLineFileReplacement::danglingSymbolicLinkCreatesItsTarget()
{
    UmaskScope mask(022);
    const QString folder = NewFolder();
    const QDir dir(folder);
    QVERIFY(dir.mkdir(QStringLiteral("sub")));
    const QString link = dir.filePath(QStringLiteral("link"));
    QVERIFY(MakeLink(QStringLiteral("sub/made.txt"), link));
    QCOMPARE(Outcome([&] { WriteThroughLayer(link, "made"); }), QStringLiteral("ok"));
    QVERIFY(IsSymbolicLink(link));
    QCOMPARE(FileBytes(dir.filePath(QStringLiteral("sub/made.txt"))), QByteArray("made"));
    QCOMPARE(ModeOf(dir.filePath(QStringLiteral("sub/made.txt"))), mode_t(0644));

    // A link into a missing folder: the folder is missing.
    const QString lost = dir.filePath(QStringLiteral("lost"));
    QVERIFY(MakeLink(QStringLiteral("nofolder/x.txt"), lost));
    QCOMPARE(Outcome([&] { CreateForWriting(lost); }), InvalidFilename);
}

void TestLineFileReplacement::unchangedContentIsNotReplaced()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("file.txt"));
    QVERIFY(PutFile(path, "same\r\n"));
    const ino_t inode = InodeOf(path);
    QVERIFY(inode != 0);
    // Times in the past, so that any write or new entry would change them.
    QVERIFY(AgeBy(path, 3600));
    QVERIFY(AgeBy(folder, 3600));
    const qint64 fileTime = ModifiedAtNanoseconds(path);
    const qint64 folderTime = ModifiedAtNanoseconds(folder);

    QCOMPARE(Outcome([&] { WriteThroughLayer(path, "same\r\n"); }), QStringLiteral("ok"));
    QCOMPARE(InodeOf(path), inode);  // left alone
    QCOMPARE(ModifiedAtNanoseconds(path), fileTime);
    QCOMPARE(ModifiedAtNanoseconds(folder), folderTime);  // no temporary file came and went
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("file.txt")}));

    QCOMPARE(Outcome([&] { WriteThroughLayer(path, "same\r\nmore\r\n"); }), QStringLiteral("ok"));
    QVERIFY(InodeOf(path) != inode);  // replaced
    QCOMPARE(FileBytes(path), QByteArray("same\r\nmore\r\n"));

    const ino_t second = InodeOf(path);
    QCOMPARE(Outcome([&] { WriteThroughLayer(path, "same\r\n"); }), QStringLiteral("ok"));
    QVERIFY(InodeOf(path) != second);  // a prefix of the old content is a change
    QCOMPARE(FileBytes(path), QByteArray("same\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("file.txt")}));
}

void TestLineFileReplacement::unchangedContentStillChecked()
{
    // The checks of CreateForWriting run even when the content would not change.
    const QString folder = NewFolder();
    QCOMPARE(Outcome([&] { CreateForWriting(QDir(folder).filePath(QStringLiteral("no/f.txt"))); }),
             InvalidFilename);
    const QString sub = QDir(folder).filePath(QStringLiteral("sub"));
    QVERIFY(QDir().mkdir(sub));
    QCOMPARE(Outcome([&] { CreateForWriting(sub); }), AccessDenied);
    // An empty existing file written with nothing stays as it is.
    const QString empty = QDir(folder).filePath(QStringLiteral("empty.txt"));
    QVERIFY(PutFile(empty, QByteArray()));
    const ino_t inode = InodeOf(empty);
    QCOMPARE(Outcome([&] { WriteThroughLayer(empty, QByteArray()); }), QStringLiteral("ok"));
    QCOMPARE(InodeOf(empty), inode);
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("empty.txt"), QStringLiteral("sub")}));
}

// Faults injected into the system calls of a save (the probe's --fault). A
// save by rename keeps the old file until the rename; a rewrite in place
// (here forced by a second name, a folder that takes no new file, or both)
// leaves the old content, the new content, or a damaged file beside a whole
// copy of the old content whose path the error names.
void TestLineFileReplacement::faultsDuringASave_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("shorter");      // the new content is shorter than the old
    QTest::addColumn<bool>("cacheOpen");    // the cache folder takes a copy
    QTest::addColumn<QString>("output");    // with {file}, {copy}, {cache}
    QTest::addColumn<QString>("file");      // old, new or damaged
    QTest::addColumn<bool>("leftover");
    // The calls that change or sync something, in order, when given: with
    // {file}, {base} (the cache folder's parent), {cache}, {save}, {copy}.
    QTest::addColumn<QStringList>("calls");

    const QString ok = QStringLiteral("ok");
    const QString crash = QStringLiteral("crash");
    const QString old = QStringLiteral("old");
    const QString fresh = QStringLiteral("new");
    const QString damaged = QStringLiteral("damaged");
    const QString plain = QStringLiteral("plain");
    const QString link = QStringLiteral("hard link");
    const QString closed = QStringLiteral("closed folder");
    const QString newCache = QStringLiteral("closed folder, new cache");
    const auto row = [](const char* name, const QString& situation, const char* fault,
                        bool shorter, bool cacheOpen, const QString& output, const QString& file,
                        bool leftover, const QStringList& calls = {}) {
        QTest::newRow(name) << situation << QString::fromLatin1(fault) << shorter << cacheOpen
                            << output << file << leftover << calls;
    };
    // Calls counted in a rewrite in place: pwrite 1 the copy, 2 the file;
    // fsync 1 the copy, 2 the copy's folder, 3 the file, 4 the copy's folder
    // again; rename 1 the copy taking its name; unlink 1 the copy.
    row("rename: one fsync only", plain, "fsync:2:crash", false, true, ok, fresh, false);
    row("rename: first sync fails", plain, "fsync:1:fail", false, true, InjectedIoError, old,
        false);
    row("rename: write interrupted", plain, "pwrite:1:interrupt", false, true, ok, fresh, false);
    row("rename: short write", plain, "pwrite:1:short", false, true, ok, fresh, false);
    row("rename: sync interrupted", plain, "fsync:1:interrupt", false, true, ok, fresh, false);
    // The second fstat is the temporary file's, before it takes the mode.
    row("rename: crash before the mode is set", plain, "fstat:2:crash", false, true, crash, old,
        true);
    row("rename: crash after writing", plain, "pwrite:1:crash", true, true, crash, old, true);
    row("rename: crash after renaming", plain, "rename:1:crash", true, true, crash, fresh, false);
    row("write fails", link, "pwrite:2:fail", true, true, InjectedIoError, old, false);
    row("copy cut short", link, "pwrite:1:short", false, true, ok, fresh, false);
    row("write interrupted", link, "pwrite:2:interrupt", false, true, ok, fresh, false);
    row("write cut short", link, "pwrite:2:short", false, true, ok, fresh, false);
    row("truncation interrupted", link, "ftruncate:1:interrupt", true, true, ok, fresh, false);
    row("sync interrupted", link, "fsync:3:interrupt", true, true, ok, fresh, false);
    row("write fails always", link, "pwrite:2:fail-always", true, true, DamagedBesideCopy, old,
        true);
    row("truncation fails always, shorter", link, "ftruncate:1:fail-always", true, true,
        DamagedBesideCopy, old, true);
    row("truncation fails always, longer", link, "ftruncate:1:fail-always", false, true,
        DamagedBesideCopy, damaged, true);
    row("sync fails", link, "fsync:3:fail", false, true, InjectedIoError, old, false);
    row("crash after the copy", link, "fsync:1:crash", true, true, crash, old, true);
    row("crash after overwriting", link, "pwrite:2:crash", true, true, crash, damaged, true);
    row("crash after overwriting through a symbolic link",
        QStringLiteral("symbolic link to a hard link"), "pwrite:2:crash", true, true, crash,
        damaged, true);
    row("crash after cutting", link, "ftruncate:1:crash", true, true, crash, fresh, true);
    row("crash after syncing", link, "fsync:3:crash", true, true, crash, fresh, true);
    row("crash after removing the copy", link, "unlink:1:crash", true, true, crash, fresh, false);
    row("copy in the cache", closed, "", false, true, ok, fresh, false);
    row("crash with the copy in the cache", closed, "pwrite:2:crash", true, true, crash, damaged,
        true);
    row("no place for a copy", closed, "", false, false, NoPlaceForCopy, old, false);
    row("unreadable, second name", QStringLiteral("write-only hard link"), "", false, true,
        UnreadableInPlace, old, false);

    // Each folder made for the copy is synced into its parent before anything
    // goes into it; the copy is synced before it takes its copy name, and its
    // folder before the file is touched and after the copy is removed.
    const QStringList calls{
        QStringLiteral("mkdir {base}/home"),        QStringLiteral("fsync {base}"),
        QStringLiteral("mkdir {base}/home/.cache"), QStringLiteral("fsync {base}/home"),
        QStringLiteral("mkdir {cache}"),            QStringLiteral("fsync {base}/home/.cache"),
        QStringLiteral("pwrite {cache}/{save}"),    QStringLiteral("fsync {cache}/{save}"),
        QStringLiteral("rename {cache}/{save} {cache}/{copy}"),
        QStringLiteral("fsync {cache}"),            QStringLiteral("pwrite {file}"),
        QStringLiteral("ftruncate {file}"),         QStringLiteral("fsync {file}"),
        QStringLiteral("unlink {cache}/{copy}"),    QStringLiteral("fsync {cache}")};
    row("copy in a new cache folder", newCache, "", true, true, ok, fresh, false, calls);
    // Killed before each of those calls: the copy name holds the whole old
    // content or is not there.
    QHash<QString, int> counted;
    for (qsizetype at = 0; at < calls.size(); ++at) {
        const QString call = calls[at].section(QLatin1Char(' '), 0, 0);
        const QString file = at <= calls.indexOf(QStringLiteral("pwrite {file}"))      ? old
                             : at == calls.indexOf(QStringLiteral("ftruncate {file}")) ? damaged
                                                                                         : fresh;
        const QString name = QStringLiteral("killed before call %1, %2").arg(at + 1).arg(calls[at]);
        QTest::newRow(qPrintable(name))
            << newCache << QStringLiteral("%1:%2:halt").arg(call).arg(++counted[call]) << true
            << true << crash << file
            << (at >= calls.indexOf(QStringLiteral("pwrite {cache}/{save}"))
                && at <= calls.indexOf(QStringLiteral("unlink {cache}/{copy}")))
            << QStringList();
    }
}

void TestLineFileReplacement::faultsDuringASave()
{
    QFETCH(QString, situation);
    QFETCH(QString, fault);
    QFETCH(bool, shorter);
    QFETCH(bool, cacheOpen);
    QFETCH(QString, output);
    QFETCH(QString, file);
    QFETCH(bool, leftover);
    QFETCH(QStringList, calls);
    ProbeOptions options;
    const QString plainSituation = QStringLiteral("plain");
    const bool closedFolder = situation.startsWith(QLatin1String("closed folder"));
    const bool permissions = closedFolder || situation == QLatin1String("write-only hard link");
    if (permissions && !UnprivilegedChild(options.user))
        QSKIP("running as root without a user \"nobody\"");

    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("personality.txt"));
    const QString otherName = QDir(folder).filePath(QStringLiteral("other.txt"));
    QByteArray old;
    for (int line = 1; line <= 29; ++line)
        old += QByteArray::number(line * 7) + "\r\n";
    const QByteArray content = shorter ? QByteArray("Tavrik\r\n") : "Tavrik\r\n" + old;
    QVERIFY(PutFile(path, old));
    // A file only its user may read, whose temporary file must be no more open.
    const mode_t mode = situation.startsWith(QLatin1String("write-only")) ? 0222
                        : situation == plainSituation                       ? 0600
                                                                            : 0666;
    QVERIFY(SetMode(path, mode));
    if (situation.endsWith(QLatin1String("hard link")))
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(otherName).constData()), 0);
    const QStringList entries = Entries(folder);
    QVERIFY(SetMode(folder, closedFolder ? 0555 : 0777));
    // The copy's place: the file's folder, the end of a link's chain.
    const bool throughLink = situation.startsWith(QLatin1String("symbolic link"));
    const QString linkFolder = NewFolder();
    const QString written = throughLink ? QDir(linkFolder).filePath(QStringLiteral("link")) : path;
    if (throughLink)
        QVERIFY(MakeLink(path, written));
    // A new cache folder is made with the folders above it.
    const QString base = NewFolder();
    QVERIFY(SetMode(base, cacheOpen ? 0777 : 0555));
    options.cacheFolder = situation == QLatin1String("closed folder, new cache")
                              ? base + QStringLiteral("/home/.cache")
                              : base;
    const QString cache = QDir(options.cacheFolder).filePath(QStringLiteral("tavrik-control-centre"));

    QStringList arguments{QStringLiteral("write"), written, QString::fromLatin1(content.toHex())};
    if (!fault.isEmpty())
        arguments = QStringList{QStringLiteral("--fault"), fault} + arguments;
    if (!calls.isEmpty())
        arguments.prepend(QStringLiteral("--trace"));
    RUN_PROBE(run, arguments, folder, options);
    QVERIFY(SetMode(folder, 0755));
    if (file == QLatin1String("old"))
        QCOMPARE(ModeOf(path), mode);
    QVERIFY(SetMode(path, 0644));

    QStringList leftovers;
    for (const QString& name : Entries(folder)) {
        if (!entries.contains(name))
            leftovers << QDir(folder).filePath(name);
    }
    if (QFileInfo::exists(cache)) {
        for (const QString& name : Entries(cache))
            leftovers << QDir(cache).filePath(name);
    }
    QCOMPARE(!leftovers.isEmpty(), leftover);
    QVERIFY(leftovers.size() <= 1);
    const QString left = leftovers.value(0);
    if (left.contains(QLatin1String(".tavrik-copy-")))
        QCOMPARE(FileBytes(left), old);  // a whole copy
    else if (!left.isEmpty())
        QCOMPARE(ModeOf(left) & ~mode, mode_t(0));
    QCOMPARE(run.output, Expanded(output, path, left, cache));
    const QByteArray now = FileBytes(path);
    QCOMPARE(now == old ? QStringLiteral("old") : now == content ? QStringLiteral("new")
                                                                 : QStringLiteral("damaged"),
             file);
    if (situation.endsWith(QLatin1String("hard link")))
        QCOMPARE(FileBytes(otherName), now);
    QCOMPARE(Entries(linkFolder), throughLink ? QStringList{QStringLiteral("link")} : QStringList());
    QCOMPARE(IsSymbolicLink(written), throughLink);
    if (!calls.isEmpty()) {
        QString traced = run.errors;
        traced.replace(cache, QStringLiteral("{cache}"))
            .replace(path, QStringLiteral("{file}"))
            .replace(base, QStringLiteral("{base}"))
            .replace(QRegularExpression(QStringLiteral(
                         "/\\.personality\\.txt\\.[0-9a-f]{16}\\.tavrik-(save|copy)-[A-Za-z0-9]{8}")),
                     QStringLiteral("/{\\1}"));
        QCOMPARE(traced.split(QLatin1Char('\n')), calls);
    }
}

// Another program puts a symbolic link or another file in the file's place
// after the save looked at it (the probe renames it in after the save's first
// fstat), or after it wrote the new bytes (after the first fsync, of the
// temporary file or of the copy), or changes the file where it is: the file
// is then not written, and neither is what took its place. A save over what
// it read first takes that for a change made elsewhere.
void TestLineFileReplacement::aFileSwappedInAfterTheInspectionIsNotWritten_data()
{
    QTest::addColumn<bool>("link");
    QTest::addColumn<bool>("inPlace");  // a second name makes the save rewrite in place
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("output");
    const QString replaced = QStringLiteral("EInOutError 5 {file} was not saved: another file took "
                                            "its place while it was being saved");
    const QString changed = QStringLiteral("EInOutError 5 {file} was not saved: another program "
                                           "changed it while it was being saved");
    const QString inspected = QStringLiteral("fstat:1:swap");
    const QString synced = QStringLiteral("fsync:1:swap");
    const QString write = QStringLiteral("write");
    QTest::newRow("symbolic link") << true << true << inspected << write << replaced;
    QTest::newRow("another file") << false << true << inspected << write << replaced;
    QTest::newRow("another file before the rename") << false << false << synced << write << replaced;
    QTest::newRow("changed before the overwrite")
        << false << true << QStringLiteral("fsync:1:change") << write << changed;
    QTest::newRow("another file, saved over what was read")
        << false << false << synced << QStringLiteral("replace") << QStringLiteral("changed elsewhere\nok");
}

void TestLineFileReplacement::aFileSwappedInAfterTheInspectionIsNotWritten()
{
    QFETCH(bool, link);
    QFETCH(bool, inPlace);
    QFETCH(QString, fault);
    QFETCH(QString, operation);
    QFETCH(QString, output);
    const QString folder = NewFolder();
    const QDir dir(folder);
    const QString path = dir.filePath(QStringLiteral("bot.cfg"));
    const QString victim = dir.filePath(QStringLiteral("victim.txt"));
    const QString swapped = dir.filePath(QStringLiteral("swapped"));
    QVERIFY(PutFile(path, "pause 3\r\n"));
    if (inPlace)
        QCOMPARE(::link(QFile::encodeName(path).constData(),
                        QFile::encodeName(dir.filePath(QStringLiteral("other.cfg"))).constData()),
                 0);
    QVERIFY(PutFile(victim, "victim\r\n"));
    if (link)
        QVERIFY(MakeLink(victim, swapped));
    else
        QVERIFY(PutFile(swapped, "swapped\r\n"));
    QStringList entries = Entries(folder);
    entries.removeOne(QStringLiteral("swapped"));
    const bool changes = fault.endsWith(QLatin1String(":change"));
    RUN_PROBE(run, {QStringLiteral("--fault"), fault, QStringLiteral("--swap"), swapped, operation, path,
                    QStringLiteral("6e6577")},
              folder);
    QCOMPARE(run.output, Expanded(output, path));
    QCOMPARE(FileBytes(victim), QByteArray("victim\r\n"));
    QCOMPARE(FileBytes(path), changes ? QByteArray("pause 3\r\nchanged\r\n")
                              : link  ? QByteArray("victim\r\n")
                                      : QByteArray("swapped\r\n"));
    if (inPlace)
        QCOMPARE(FileBytes(dir.filePath(QStringLiteral("other.cfg"))),
                 changes ? QByteArray("pause 3\r\nchanged\r\n") : QByteArray("pause 3\r\n"));
    if (changes)
        entries << QStringLiteral("swapped");
    entries.sort();
    QCOMPARE(Entries(folder), entries);
}

namespace {

// An access ACL in the system's xattr form: the owner rw, one more user rw,
// the group r, the mask r, others nothing.
QByteArray AclGivingWrite(quint32 user)
{
    QByteArray acl;
    const auto add = [&acl](quint16 tag, quint16 permissions, quint32 id) {
        acl.append(reinterpret_cast<const char*>(&tag), 2);
        acl.append(reinterpret_cast<const char*>(&permissions), 2);
        acl.append(reinterpret_cast<const char*>(&id), 4);
    };
    const quint32 version = 2;
    acl.append(reinterpret_cast<const char*>(&version), 4);
    add(0x01, 6, 0xFFFFFFFF);  // the owner
    add(0x02, 6, user);        // a named user
    add(0x04, 4, 0xFFFFFFFF);  // the owning group
    add(0x10, 4, 0xFFFFFFFF);  // the mask
    add(0x20, 0, 0xFFFFFFFF);  // others
    return acl;
}

QByteArray Attribute(const QString& path, const char* name)
{
    QByteArray value(256, Qt::Uninitialized);
    const ssize_t size = ::lgetxattr(QFile::encodeName(path).constData(), name, value.data(),
                                     size_t(value.size()));
    if (size < 0)
        return QByteArrayLiteral("<none>");
    value.truncate(size);
    return value;
}

bool SetAttribute(const QString& path, const char* name, const QByteArray& value)
{
    return ::lsetxattr(QFile::encodeName(path).constData(), name, value.constData(),
                       size_t(value.size()), 0)
           == 0;
}

}  // namespace

// A save keeps the file's extended attributes and its ACL; one that cannot
// be given to a new file makes the save rewrite the file in place.
void TestLineFileReplacement::attributesSurviveASave_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<bool>("fileAcl");        // the file has an ACL of its own
    QTest::addColumn<bool>("folderDefault");  // the folder gives new files another ACL
    QTest::newRow("by rename") << QString() << false << true << false;
    QTest::newRow("an attribute cannot be copied")
        << QStringLiteral("fsetxattr:1:fail-always") << true << true << false;
    QTest::newRow("no ACL, in a folder with a default ACL") << QString() << false << false << true;
    QTest::newRow("own ACL, in a folder with another default ACL")
        << QString() << false << true << true;
}

void TestLineFileReplacement::attributesSurviveASave()
{
    QFETCH(QString, fault);
    QFETCH(bool, inPlace);
    QFETCH(bool, fileAcl);
    QFETCH(bool, folderDefault);
    UmaskScope mask(022);
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("bot.cfg"));
    QVERIFY(PutFile(path, "pause 3\r\n"));
    if (!SetAttribute(path, "user.origin", "by hand"))
        QSKIP("the file system here keeps no user attributes");
    // The file's ACL gives nobody (65534) write, the folder's default daemon (1).
    const QByteArray acl = fileAcl ? AclGivingWrite(65534) : QByteArrayLiteral("<none>");
    if ((fileAcl && !SetAttribute(path, "system.posix_acl_access", acl))
        || (folderDefault
            && !SetAttribute(folder, "system.posix_acl_default", AclGivingWrite(1))))
        QSKIP("the file system here keeps no ACLs");
    const mode_t mode = ModeOf(path);
    QCOMPARE(mode & 070, mode_t(040));  // the mask, or the group, reads only
    const ino_t inode = InodeOf(path);

    QStringList arguments{QStringLiteral("write"), path, QStringLiteral("6e6577")};
    if (!fault.isEmpty())
        arguments = QStringList{QStringLiteral("--fault"), fault} + arguments;
    RUN_PROBE(run, arguments, folder);
    QCOMPARE(run.output, QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("new"));
    QCOMPARE(InodeOf(path) == inode, inPlace);
    QCOMPARE(Attribute(path, "user.origin"), QByteArray("by hand"));
    QCOMPARE(Attribute(path, "system.posix_acl_access"), acl);
    QCOMPARE(ModeOf(path), mode);
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("bot.cfg")}));
}

QTEST_GUILESS_MAIN(TestLineFileReplacement)
#include "tst_linefile_replacement.moc"
