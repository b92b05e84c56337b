// The line text file layer, its error codes and the safe
// replacement of a file written through CreateForWriting ... CloseLineFile.
//
// Cases that need another user (a read-only file, an unreadable folder) or
// lowered resource limits run the small program tests/probes/linefile_probe
// in a child process. When the tests run as root, that child drops to the user
// "nobody", so the permission cases are exercised rather than skipped.

#include "Bytes.h"
#include "Exceptions.h"
#include "LineFile.h"
#include "ProcessReads.h"
#include "SaveLeftovers.h"
#include "SystemErrors.h"

#include <QtTest>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// "ok", "EInOutError <code> <message>" or "Exception <message>": the same
// wording as the probe's last output line.
template <typename Operation>
QString Outcome(Operation&& operation)
{
    try {
        operation();
        return QStringLiteral("ok");
    } catch (const EInOutError& failure) {
        return QStringLiteral("EInOutError %1 %2").arg(failure.ErrorCode()).arg(failure.Message());
    } catch (const Exception& failure) {
        return QStringLiteral("Exception ") + failure.Message();
    }
}

const QString FileNotFound = QStringLiteral("EInOutError 2 File not found");
const QString InvalidFilename = QStringLiteral("EInOutError 3 Invalid filename");
const QString TooManyOpenFiles = QStringLiteral("EInOutError 4 Too many open files");
const QString AccessDenied = QStringLiteral("EInOutError 5 File access denied");
const QString DiskFull = QStringLiteral("EInOutError 112 I/O error 112");
const QString AlreadyExists = QStringLiteral("EInOutError 183 I/O error 183");
const QString InjectedIoError = QStringLiteral("EInOutError 5 I/O error 5");
// {file} the file saved, {copy} the copy of its old content, {cache} the
// cache folder (see Expanded).
const QString DamagedBesideCopy =
    QStringLiteral("EInOutError 5 {file} could not be saved (I/O error 5), and its old content "
                   "could not be put back either: the file may be damaged. Its old content is "
                   "kept in {copy}");
const QString NoPlaceForCopy =
    QStringLiteral("EInOutError 5 {file} was not saved: a copy of its old content could be kept "
                   "neither beside it nor in the cache folder {cache} (File access denied)");
const QString UnreadableInPlace =
    QStringLiteral("EInOutError 5 {file} was not saved: it can only be rewritten where it is, and "
                   "its old content cannot be read to keep a copy of it in the meantime");

QString Expanded(QString text, const QString& file, const QString& copy = QString(),
                 const QString& cache = QString())
{
    return text.replace(QLatin1String("{file}"), file)
        .replace(QLatin1String("{copy}"), copy)
        .replace(QLatin1String("{cache}"), cache);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<unreadable>");
    return file.readAll();
}

bool PutFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(bytes) == bytes.size() && file.flush();
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                      | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

mode_t ModeOf(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return mode_t(-1);
    return status.st_mode & 07777;
}

ino_t InodeOf(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    return status.st_ino;
}

bool IsSymbolicLink(const QString& path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

bool SetMode(const QString& path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// Sets a file's (or a link's own) access and modification time seconds back.
bool AgeBy(const QString& path, int seconds)
{
    struct timespec times[2] {};
    times[0].tv_sec = times[1].tv_sec = ::time(nullptr) - seconds;
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW)
           == 0;
}

qint64 ModifiedAtNanoseconds(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return -1;
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

bool MakeLink(const QString& target, const QString& link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData())
           == 0;
}

void WriteThroughLayer(const QString& path, const QByteArray& bytes)
{
    LineFile file = CreateForWriting(path);
    WritePlainText(file, BytesToText(bytes));
    CloseLineFile(file);
}

// Every line up to the end-of-file test, as bytes.
QByteArrayList ReadThroughLayer(const QString& path)
{
    QByteArrayList lines;
    LineFile file = OpenForReading(path);
    while (!AtEndOfFile(file))
        lines << ReadTextLine(file).toLatin1();
    CloseLineFile(file);
    return lines;
}

QByteArray Repeated(char byte, int count)
{
    return QByteArray(count, byte);
}

class UmaskScope {
public:
    explicit UmaskScope(mode_t mask) : previous_(::umask(mask)) {}
    ~UmaskScope() { ::umask(previous_); }
    UmaskScope(const UmaskScope&) = delete;
    UmaskScope& operator=(const UmaskScope&) = delete;

private:
    mode_t previous_;
};

// --- the probe -------------------------------------------------------------

struct ChildUser {
    bool drop = false;
    uid_t uid = 0;
    gid_t gid = 0;
};

struct ProbeOptions {
    ChildUser user;
    rlim_t fileSizeLimit = RLIM_INFINITY;
    QString cacheFolder;  // the user's cache folder; the test's own when empty
    rlim_t openFilesLimit = RLIM_INFINITY;
};

struct ProbeRun {
    bool finished = false;
    int exitCode = -1;
    QString output;  // stdout without the final line end
    QString errors;

    QString Describe() const
    {
        return QStringLiteral("finished %1, exit code %2, stdout [%3], stderr [%4]")
            .arg(finished)
            .arg(exitCode)
            .arg(output, errors);
    }
};

QString BuiltProbePath()
{
    return QStringLiteral(TAVRIK_PROBE_DIR "/linefile_probe");
}

// The build may lie in a folder that "nobody" cannot enter (a private home
// folder), so the children run a copy kept beside the folders they work in.
QString& ProbePath()
{
    static QString path;
    return path;
}

ProbeRun RunProbe(const QStringList& arguments, const QString& workingFolder,
                  const ProbeOptions& options = {})
{
    QProcess process;
    process.setProgram(ProbePath());
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    if (!options.cacheFolder.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), options.cacheFolder);
        process.setProcessEnvironment(environment);
    }
    const ProbeOptions copy = options;
    process.setChildProcessModifier([copy] {
        // Runs in the child between fork and exec: system calls only.
        if (copy.fileSizeLimit != RLIM_INFINITY) {
            const struct rlimit limit {copy.fileSizeLimit, copy.fileSizeLimit};
            ::signal(SIGXFSZ, SIG_IGN);  // stays ignored across exec
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(120);
        }
        if (copy.openFilesLimit != RLIM_INFINITY) {
            const struct rlimit limit {copy.openFilesLimit, copy.openFilesLimit};
            if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
                ::_exit(121);
        }
        if (copy.user.drop) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(copy.user.gid) != 0
                || ::setuid(copy.user.uid) != 0)
                ::_exit(122);
        }
    });
    process.start();
    ProbeRun run;
    run.finished = process.waitForFinished(60000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    run.errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return run;
}

}  // namespace

#define RUN_PROBE(run, ...)                                                     \
    const ProbeRun run = RunProbe(__VA_ARGS__);                                 \
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.Describe()))

class TestLineFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch_;
    int folderCount_ = 0;

    // A fresh empty folder per use, inside the scratch folder.
    QString NewFolder()
    {
        const QString path = scratch_.filePath(QStringLiteral("f%1").arg(++folderCount_));
        if (!QDir().mkdir(path))
            return QString();
        return path;
    }

    // The user the permission cases run as: this process's own user, or
    // "nobody" when the tests run as root. False when there is none.
    bool UnprivilegedChild(ChildUser& user)
    {
        if (::geteuid() != 0)
            return true;
        const struct passwd* entry = ::getpwnam("nobody");
        if (entry == nullptr || entry->pw_uid == 0)
            return false;
        user.drop = true;
        user.uid = entry->pw_uid;
        user.gid = entry->pw_gid;
        return true;
    }

private slots:
    void initTestCase();
    void cleanupTestCase();

    // Reading.
    void readLines_data();
    void readLines();
    void readingPastTheEndGivesEmptyTexts();
    void atEndOfFileDoesNotMove();
    void everyByteSurvivesWriteAndRead_data();
    void everyByteSurvivesWriteAndRead();
    void allByteValuesInOneFile();

    // Writing.
    void writeTextLineAddsCrLfAndWritePlainTextNothing();
    void nothingWrittenGivesAnEmptyFile();
    void latin1CharactersAreSingleBytes();
    void charactersAboveU00FFAreRefused();

    // Error codes, in this process.
    void missingFileGivesFileNotFound();
    void missingFolderGivesInvalidFilename_data();
    void missingFolderGivesInvalidFilename();
    void makeFolder();
    void existingNameGives183_data();
    void existingNameGives183();
    void folderOpenedAsFileGivesAccessDenied();
    void pipesAndDevicesGiveAccessDenied_data();
    void pipesAndDevicesGiveAccessDenied();
    void fileIsPresent_data();
    void fileIsPresent();
    void errnoMapping_data();
    void errnoMapping();
    void misuseOfALineFile();

    // Error codes from another user or lowered limits (the probe).
    void probeWorksAsTheChildUser();
    void readOnlyFileRefusedForWritingAndUntouched();
    void unreadableFileRefusedForReading();
    void untraversableFolderGivesAccessDenied();
    void readOnlyFolderRefusesNewEntries();
    void tooManyOpenFiles_data();
    void tooManyOpenFiles();

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
    void leftoversOfCrashedSaves_data();
    void leftoversOfCrashedSaves();
    void aFailedSaveThenASuccessfulOne_data();
    void aFailedSaveThenASuccessfulOne();
    void aFileSwappedInAfterTheInspectionIsNotWritten_data();
    void aFileSwappedInAfterTheInspectionIsNotWritten();
    void attributesSurviveASave_data();
    void attributesSurviveASave();
    void fileOverTheLimitIsNotRead();
};

void TestLineFile::initTestCase()
{
    QVERIFY(scratch_.isValid());
    // A child that runs as "nobody" must reach the folders below and the
    // probe.
    QVERIFY(SetMode(scratch_.path(), 0755));
    // Copies of files rewritten in place may go to the cache folder, which
    // must be one the child user may write.
    const QString cache = scratch_.filePath(QStringLiteral("cache"));
    QVERIFY(QDir().mkdir(cache));
    QVERIFY(SetMode(cache, 0777));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    ProbePath() = scratch_.filePath(QStringLiteral("linefile_probe"));
    QVERIFY2(QFile::copy(BuiltProbePath(), ProbePath()), qPrintable(BuiltProbePath()));
    QVERIFY(SetMode(ProbePath(), 0755));
}

void TestLineFile::cleanupTestCase()
{
    // A failed case may have left a folder closed; open them all so that the
    // scratch folder can be removed.
    QDirIterator folders(scratch_.path(), QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    SetMode(scratch_.path(), 0755);
    while (folders.hasNext()) {
        const QString folder = folders.next();
        if (!QFileInfo(folder).isSymLink())
            SetMode(folder, 0755);
    }
}

// --- reading ---------------------------------------------------------------

void TestLineFile::readLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArrayList>("lines");
    // The lines written back with the line ends the reading found, each
    // ended; none where the row does not say.
    QTest::addColumn<QByteArray>("savedBack");

    const auto row = [](const char* name, const QByteArray& content, const QByteArrayList& lines,
                        const QByteArray& savedBack = QByteArray()) {
        QTest::newRow(name) << content << lines << savedBack;
    };
    const QByteArray z(1, 26);
    row("empty file", QByteArray(), {});
    row("CR LF lines", "one\r\ntwo\r\n", {"one", "two"}, "one\r\ntwo\r\n");
    row("CR lines", "one\rtwo\r", {"one", "two"}, "one\r\ntwo\r\n");
    row("LF lines", "one\ntwo\nthree\n", {"one", "two", "three"}, "one\ntwo\nthree\n");
    row("LF lines with an empty one", "one\n\nthree\n", {"one", "", "three"}, "one\n\nthree\n");
    row("LF lines, the last without an end", "one\ntwo", {"one", "two"}, "one\ntwo\n");
    row("LF lines, then Ctrl-Z", "one\ntwo\n" + z + "\r\nrest\r\n", {"one", "two"},
        "one\ntwo\n");
    row("mixed CR LF, CR and LF", "a\r\nb\rc\nd\r\ne\rf\ng",
        {"a", "b", "c", "d", "e", "f", "g"}, "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n");
    row("no final line end", "first\r\nlast", {"first", "last"}, "first\r\nlast\r\n");
    row("single line without end", "only", {"only"});
    row("CR LF CR LF ending", "a\r\nb\r\n\r\n", {"a", "b", ""});
    row("CR CR ending", "a\r\r", {"a", ""});
    row("LF CR", "a\n\rb", {"a", "", "b"});
    row("CR LF LF", "a\r\n\nb", {"a", "", "b"});
    row("CR then other byte", "a\rb\r\nc", {"a", "b", "c"});
    row("only CR LF", "\r\n", {""});
    row("only CR", "\r", {""});
    row("only LF", "\n", {""}, "\n");
    row("empty lines", "\r\n\r\n\r\nx", {"", "", "", "x"});
    row("blanks and tabs kept", "  a\t b \t\r\n\t\r\n", {"  a\t b \t", "\t"});
    row("Ctrl-Z in the middle", "a\r\nb" + z + "c\r\nd\r\n", {"a", "b"});
    row("Ctrl-Z at the start", z + "a\r\nb\r\n", {});
    row("Ctrl-Z alone", z, {});
    row("Ctrl-Z after line end", "a\r\n" + z + "b", {"a"});
    row("Ctrl-Z between CR and LF", "a\r" + z + "\nb", {"a"});
    row("Ctrl-Z at the end", "a\r\nb\r\n" + z, {"a", "b"});
    row("two Ctrl-Z", "a" + z + "b" + z + "c", {"a"});
    row("NUL bytes", QByteArray("a\0b\r\n\0\r\n", 8), {QByteArray("a\0b", 3), QByteArray(1, 0)});
    row("high bytes", "\xe9t\xe9\r\n\x80\xff", {"\xe9t\xe9", "\x80\xff"});
    row("line of 300", Repeated('a', 300) + "\r\nnext", {Repeated('a', 300), "next"});
    row("line of 1000", Repeated('b', 1000) + "\r\nnext", {Repeated('b', 1000), "next"});
    row("line of 100000", Repeated('c', 100000) + "\r\nnext\r\n",
        {Repeated('c', 100000), "next"});
    row("line of 100000 without end", Repeated('d', 100000), {Repeated('d', 100000)});
    row("100000 LF bytes", Repeated('\n', 100000) + "\rx", QByteArrayList(100001, "") << "x");

    QByteArray personality;
    QByteArrayList personalityLines;
    for (int line = 1; line <= 29; ++line) {
        personalityLines << QByteArray::number(line * 3);
        personality += QByteArray::number(line * 3) + "\r\n";
    }
    row("29 lines", personality, personalityLines);
}

void TestLineFile::readLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArray, savedBack);

    const QString path = QDir(NewFolder()).filePath(QStringLiteral("lines.txt"));
    QVERIFY(PutFile(path, content));

    QByteArrayList read;
    QStringList pastTheEnd;
    const QString outcome = Outcome([&] {
        LineFile file = OpenForReading(path);
        while (!AtEndOfFile(file)) {
            const QString line = ReadTextLine(file);
            QVERIFY(HasSingleByteForm(line));
            read << line.toLatin1();
        }
        for (int extra = 0; extra < 3; ++extra) {
            pastTheEnd << ReadTextLine(file);
            if (!AtEndOfFile(file))
                pastTheEnd << QStringLiteral("<not at end>");
        }
        CloseLineFile(file);
    });
    QCOMPARE(outcome, QStringLiteral("ok"));
    QCOMPARE(read.size(), lines.size());
    for (qsizetype index = 0; index < lines.size(); ++index)
        QCOMPARE(read.at(index), lines.at(index));
    QCOMPARE(pastTheEnd, QStringList({QString(), QString(), QString()}));
    if (savedBack.isNull())
        return;

    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path, LineEndsOf(content).value_or(LineEnds::CrLf));
                 for (const QByteArray& line : read)
                     WriteTextLine(file, BytesToText(line));
                 CloseLineFile(file);
             }),
             QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), savedBack);
}

void TestLineFile::readingPastTheEndGivesEmptyTexts()
{
    const QString path = QDir(NewFolder()).filePath(QStringLiteral("one.txt"));
    QVERIFY(PutFile(path, "only line\r\n"));
    QStringList read;
    QCOMPARE(Outcome([&] {
                 LineFile file = OpenForReading(path);
                 for (int line = 0; line < 3; ++line)
                     read << ReadTextLine(file);
                 read << (AtEndOfFile(file) ? QStringLiteral("end") : QStringLiteral("more"));
                 CloseLineFile(file);
             }),
             QStringLiteral("ok"));
    QCOMPARE(read, QStringList({QStringLiteral("only line"), QString(), QString(),
                                QStringLiteral("end")}));
}

void TestLineFile::atEndOfFileDoesNotMove()
{
    const QString path = QDir(NewFolder()).filePath(QStringLiteral("two.txt"));
    QVERIFY(PutFile(path, "a\r\nb"));
    QStringList seen;
    QCOMPARE(Outcome([&] {
                 LineFile file = OpenForReading(path);
                 for (int test = 0; test < 5; ++test)
                     seen << (AtEndOfFile(file) ? QStringLiteral("end") : QStringLiteral("more"));
                 seen << ReadTextLine(file);
                 for (int test = 0; test < 5; ++test)
                     seen << (AtEndOfFile(file) ? QStringLiteral("end") : QStringLiteral("more"));
                 seen << ReadTextLine(file);
                 for (int test = 0; test < 2; ++test)
                     seen << (AtEndOfFile(file) ? QStringLiteral("end") : QStringLiteral("more"));
                 CloseLineFile(file);
             }),
             QStringLiteral("ok"));
    const QString more = QStringLiteral("more");
    const QString end = QStringLiteral("end");
    QCOMPARE(seen, QStringList({more, more, more, more, more, QStringLiteral("a"), more, more,
                                more, more, more, QStringLiteral("b"), end, end}));
}

void TestLineFile::everyByteSurvivesWriteAndRead_data()
{
    QTest::addColumn<int>("byte");
    for (int byte = 0; byte < 256; ++byte)
        QTest::newRow(qPrintable(QStringLiteral("byte %1").arg(byte))) << byte;
}

void TestLineFile::everyByteSurvivesWriteAndRead()
{
    QFETCH(int, byte);
    const QString path = QDir(NewFolder()).filePath(QStringLiteral("byte.txt"));
    const QByteArray text = QByteArray("A") + char(byte) + "Z";

    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WriteTextLine(file, BytesToText(text));
                 CloseLineFile(file);
             }),
             QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), text + "\r\n");

    QByteArrayList expected;
    if (byte == 13 || byte == 10)
        expected = {"A", "Z"};  // a CR or an LF ends the line; "Z" is a line of its own
    else if (byte == 26)
        expected = {"A"};  // Ctrl-Z ends the file
    else
        expected = {text};
    QByteArrayList read;
    QCOMPARE(Outcome([&] { read = ReadThroughLayer(path); }), QStringLiteral("ok"));
    QCOMPARE(read, expected);
}

void TestLineFile::allByteValuesInOneFile()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("all.bin"));
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all += char(byte);

    QCOMPARE(Outcome([&] { WriteThroughLayer(path, all); }), QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), all);

    // Bytes 0..9, then the LF; 11 and 12, then the CR; 14 (not an LF) begins
    // the next line, which the Ctrl-Z (26) ends together with the file.
    QByteArrayList read;
    QCOMPARE(Outcome([&] { read = ReadThroughLayer(path); }), QStringLiteral("ok"));
    QCOMPARE(read, QByteArrayList({all.mid(0, 10), all.mid(11, 2), all.mid(14, 12)}));

    // Without CR, LF and Ctrl-Z every other byte reads back as one line.
    QByteArray ordinary = all;
    ordinary.remove(26, 1);
    ordinary.remove(13, 1);
    ordinary.remove(10, 1);
    QCOMPARE(Outcome([&] { WriteThroughLayer(path, ordinary); }), QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), ordinary);
    QCOMPARE(Outcome([&] { read = ReadThroughLayer(path); }), QStringLiteral("ok"));
    QCOMPARE(read, QByteArrayList({ordinary}));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("all.bin")}));
}

// --- writing ---------------------------------------------------------------

void TestLineFile::writeTextLineAddsCrLfAndWritePlainTextNothing()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("out.txt"));
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WriteTextLine(file, QStringLiteral("abc"));
                 WriteTextLine(file, QString());
                 WriteTextLine(file, QStringLiteral("1"));
                 FlushText(file);
                 WritePlainText(file, QStringLiteral("de\r\nf"));
                 WritePlainText(file, QString());
                 WritePlainText(file, QStringLiteral("\n"));
                 WriteTextLine(file, QStringLiteral("5"));
                 CloseLineFile(file);
             }),
             QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("abc\r\n\r\n1\r\nde\r\nf\n5\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("out.txt")}));
}

void TestLineFile::nothingWrittenGivesAnEmptyFile()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("old.txt"));
    QVERIFY(PutFile(path, "old content\r\n"));
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 CloseLineFile(file);
             }),
             QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray());
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("old.txt")}));
}

void TestLineFile::latin1CharactersAreSingleBytes()
{
    const QString path = QDir(NewFolder()).filePath(QStringLiteral("latin1.txt"));
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WriteTextLine(file, QString(QChar(0xE9)) + QChar(0xFF) + QChar(0x80));
                 CloseLineFile(file);
             }),
             QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("\xe9\xff\x80\r\n"));
}

void TestLineFile::charactersAboveU00FFAreRefused()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("old.txt"));
    QVERIFY(PutFile(path, "old\r\n"));

    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WriteTextLine(file, QStringLiteral("ok"));
                 WriteTextLine(file, QStringLiteral("a") + QChar(0x0100));
                 CloseLineFile(file);
             }),
             QStringLiteral("Exception The character U+0100 cannot be written to a file: a file "
                            "only holds characters U+0000 to U+00FF"));
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WritePlainText(file, QString(QChar(0x20AC)));
                 CloseLineFile(file);
             }),
             QStringLiteral("Exception The character U+20AC cannot be written to a file: a file "
                            "only holds characters U+0000 to U+00FF"));
    // Nothing of either attempt reached the disk.
    QCOMPARE(FileBytes(path), QByteArray("old\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("old.txt")}));
}

// --- error codes in this process -------------------------------------------

void TestLineFile::missingFileGivesFileNotFound()
{
    const QString folder = NewFolder();
    QCOMPARE(Outcome([&] { OpenForReading(QDir(folder).filePath(QStringLiteral("none.txt"))); }),
             FileNotFound);
    // A link to nothing names a file that does not exist either.
    const QString link = QDir(folder).filePath(QStringLiteral("dangling"));
    QVERIFY(MakeLink(QStringLiteral("nowhere.txt"), link));
    QCOMPARE(Outcome([&] { OpenForReading(link); }), FileNotFound);
    // A relative path: the current folder exists.
    QVERIFY(QDir::setCurrent(folder));
    QCOMPARE(Outcome([&] { OpenForReading(QStringLiteral("none.txt")); }), FileNotFound);
    QVERIFY(QDir::setCurrent(scratch_.path()));
}

void TestLineFile::missingFolderGivesInvalidFilename_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("relative");
    for (const char* operation : {"read", "write", "mkdir"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 missing folder").arg(operation)))
            << QString::fromLatin1(operation) << QStringLiteral("missing/file.txt");
        QTest::newRow(qPrintable(QStringLiteral("%1 missing folders").arg(operation)))
            << QString::fromLatin1(operation) << QStringLiteral("missing/deeper/file.txt");
        QTest::newRow(qPrintable(QStringLiteral("%1 through a file").arg(operation)))
            << QString::fromLatin1(operation) << QStringLiteral("plain.txt/file.txt");
        QTest::newRow(qPrintable(QStringLiteral("%1 through a dangling link").arg(operation)))
            << QString::fromLatin1(operation) << QStringLiteral("dangling/file.txt");
    }
}

void TestLineFile::missingFolderGivesInvalidFilename()
{
    QFETCH(QString, operation);
    QFETCH(QString, relative);
    const QString folder = NewFolder();
    QVERIFY(PutFile(QDir(folder).filePath(QStringLiteral("plain.txt")), "x"));
    QVERIFY(MakeLink(QStringLiteral("gone"), QDir(folder).filePath(QStringLiteral("dangling"))));
    const QStringList before = Entries(folder);
    const QString path = QDir(folder).filePath(relative);

    QString outcome;
    if (operation == QLatin1String("read"))
        outcome = Outcome([&] { OpenForReading(path); });
    else if (operation == QLatin1String("write"))
        outcome = Outcome([&] { CreateForWriting(path); });  // fails at once, not at close
    else
        outcome = Outcome([&] { MakeFolder(path); });
    QCOMPARE(outcome, InvalidFilename);
    QCOMPARE(Entries(folder), before);  // no folder was created on the way
}

void TestLineFile::makeFolder()
{
    UmaskScope mask(022);
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("bot1"));
    QCOMPARE(Outcome([&] { MakeFolder(path); }), QStringLiteral("ok"));
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(ModeOf(path), mode_t(0755));
    // Only one level: the parent must exist.
    QCOMPARE(Outcome([&] { MakeFolder(QDir(folder).filePath(QStringLiteral("a/b"))); }),
             InvalidFilename);
    QVERIFY(!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("a"))));
    // The new name is synced into its parent before anything is saved in it.
    const QString second = QDir(folder).filePath(QStringLiteral("bot2"));
    RUN_PROBE(run, {QStringLiteral("--trace"), QStringLiteral("mkdir"), second}, folder);
    QCOMPARE(run.errors, QStringLiteral("mkdir %1\nfsync %2").arg(second, folder));
}

void TestLineFile::existingNameGives183_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("file") << QStringLiteral("file");
    QTest::newRow("dangling link") << QStringLiteral("dangling");
    QTest::newRow("link to folder") << QStringLiteral("link");
}

void TestLineFile::existingNameGives183()
{
    QFETCH(QString, kind);
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("bot1"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (kind == QLatin1String("file"))
        QVERIFY(PutFile(path, "x"));
    else if (kind == QLatin1String("dangling"))
        QVERIFY(MakeLink(QStringLiteral("nowhere"), path));
    else
        QVERIFY(MakeLink(folder, path));
    QCOMPARE(Outcome([&] { MakeFolder(path); }), AlreadyExists);
}

void TestLineFile::folderOpenedAsFileGivesAccessDenied()
{
    const QString folder = NewFolder();
    const QString sub = QDir(folder).filePath(QStringLiteral("personality.txt"));
    QVERIFY(QDir().mkdir(sub));
    QVERIFY(PutFile(QDir(sub).filePath(QStringLiteral("inside")), "x"));
    const QString link = QDir(folder).filePath(QStringLiteral("link"));
    QVERIFY(MakeLink(QStringLiteral("personality.txt"), link));

    QCOMPARE(Outcome([&] { OpenForReading(sub); }), AccessDenied);
    QCOMPARE(Outcome([&] { CreateForWriting(sub); }), AccessDenied);
    QCOMPARE(Outcome([&] { OpenForReading(link); }), AccessDenied);
    QCOMPARE(Outcome([&] { CreateForWriting(link); }), AccessDenied);
    QCOMPARE(Outcome([&] { CreateForWriting(sub + QLatin1Char('/')); }), AccessDenied);
    QCOMPARE(Outcome([&] { CreateForWriting(QDir(folder).filePath(QStringLiteral("new/"))); }),
             AccessDenied);

    QVERIFY(QFileInfo(sub).isDir());
    QCOMPARE(Entries(sub), QStringList({QStringLiteral("inside")}));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("link"), QStringLiteral("personality.txt")}));
}

void TestLineFile::pipesAndDevicesGiveAccessDenied_data()
{
    QTest::addColumn<QString>("linkTarget");  // empty: the name is a pipe itself
    QTest::newRow("pipe") << QString();
    QTest::newRow("link to a pipe") << QStringLiteral("pipe");
    QTest::newRow("link to an endless device") << QStringLiteral("/dev/zero");
    QTest::newRow("link to an empty device") << QStringLiteral("/dev/null");
}

// A pipe with no writer would block the open, and /dev/zero never ends: both
// are refused at once, before they are opened (the pipe's opens are watched).
// The alarm ends the test program should either hang.
void TestLineFile::pipesAndDevicesGiveAccessDenied()
{
    QFETCH(QString, linkTarget);
    const QString folder = NewFolder();
    const QString pipe = QDir(folder).filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    QString path = pipe;
    if (!linkTarget.isEmpty()) {
        path = QDir(folder).filePath(QStringLiteral("personality.txt"));
        QVERIFY(MakeLink(linkTarget, path));
    }

    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0);
    QVERIFY(::inotify_add_watch(watch, QFile::encodeName(pipe).constData(), IN_OPEN) >= 0);

    ::alarm(10);
    const QString reading = Outcome([&] { OpenForReading(path); });
    const QString writing = Outcome([&] { CreateForWriting(path); });
    ::alarm(0);
    QCOMPARE(reading, AccessDenied);
    QCOMPARE(writing, AccessDenied);
    QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    char events[256];
    QCOMPARE(::read(watch, events, sizeof events), ssize_t(-1));  // no open was seen
    ::close(watch);
}

void TestLineFile::fileIsPresent_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("present");  // "true", "false" or the failure
    QTest::newRow("file") << QStringLiteral("file.txt") << "true";
    QTest::newRow("empty file") << QStringLiteral("empty.txt") << "true";
    QTest::newRow("folder") << QStringLiteral("folder") << "false";
    QTest::newRow("missing") << QStringLiteral("missing.txt") << "false";
    QTest::newRow("in missing folder") << QStringLiteral("nofolder/file.txt") << "false";
    QTest::newRow("through a file") << QStringLiteral("file.txt/x") << "false";
    QTest::newRow("link to file") << QStringLiteral("tofile") << "true";
    QTest::newRow("link to folder") << QStringLiteral("tofolder") << "false";
    QTest::newRow("dangling link") << QStringLiteral("dangling") << "false";
    // Cannot be examined, so may name a file: not taken for absent.
    QTest::newRow("link loop") << QStringLiteral("loop") << "EInOutError 40 I/O error 40";
}

void TestLineFile::fileIsPresent()
{
    QFETCH(QString, relative);
    QFETCH(QString, present);
    const QString folder = NewFolder();
    const QDir dir(folder);
    QVERIFY(PutFile(dir.filePath(QStringLiteral("file.txt")), "x"));
    QVERIFY(PutFile(dir.filePath(QStringLiteral("empty.txt")), QByteArray()));
    QVERIFY(dir.mkdir(QStringLiteral("folder")));
    QVERIFY(MakeLink(QStringLiteral("file.txt"), dir.filePath(QStringLiteral("tofile"))));
    QVERIFY(MakeLink(QStringLiteral("folder"), dir.filePath(QStringLiteral("tofolder"))));
    QVERIFY(MakeLink(QStringLiteral("nowhere"), dir.filePath(QStringLiteral("dangling"))));
    QVERIFY(MakeLink(QStringLiteral("loop"), dir.filePath(QStringLiteral("loop"))));
    QString outcome;
    const QString result = Outcome([&] {
        outcome = FileIsPresent(dir.filePath(relative)) ? QStringLiteral("true") : QStringLiteral("false");
    });
    QCOMPARE(result == QStringLiteral("ok") ? outcome : result, present);
    QCOMPARE(FileIsPresent(QString()), false);
}

void TestLineFile::errnoMapping_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("missingIsFile");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString notFound = QStringLiteral("File not found");
    const QString invalid = QStringLiteral("Invalid filename");
    const QString denied = QStringLiteral("File access denied");
    QTest::newRow("ENOENT file") << ENOENT << true << 2 << notFound;
    QTest::newRow("ENOENT folder") << ENOENT << false << 3 << invalid;
    QTest::newRow("ENOTDIR") << ENOTDIR << true << 3 << invalid;
    QTest::newRow("EMFILE") << EMFILE << false << 4 << QStringLiteral("Too many open files");
    QTest::newRow("ENFILE") << ENFILE << false << 4 << QStringLiteral("Too many open files");
    QTest::newRow("EACCES") << EACCES << false << 5 << denied;
    QTest::newRow("EPERM") << EPERM << false << 5 << denied;
    QTest::newRow("EROFS") << EROFS << false << 5 << denied;
    QTest::newRow("EISDIR") << EISDIR << false << 5 << denied;
    QTest::newRow("ETXTBSY") << ETXTBSY << false << 32 << QStringLiteral("I/O error 32");
    QTest::newRow("EBUSY") << EBUSY << false << 32 << QStringLiteral("I/O error 32");
    QTest::newRow("ENOSPC") << ENOSPC << false << 112 << QStringLiteral("I/O error 112");
    QTest::newRow("EDQUOT") << EDQUOT << false << 112 << QStringLiteral("I/O error 112");
    QTest::newRow("EFBIG") << EFBIG << false << 112 << QStringLiteral("I/O error 112");
    QTest::newRow("EEXIST") << EEXIST << false << 183 << QStringLiteral("I/O error 183");
    // Unmapped numbers never go through the code table.
    QTest::newRow("EIO") << EIO << false << EIO << QStringLiteral("I/O error %1").arg(EIO);
    QTest::newRow("EINTR") << EINTR << false << EINTR << QStringLiteral("I/O error %1").arg(EINTR);
    QTest::newRow("ESRCH") << ESRCH << false << ESRCH << QStringLiteral("I/O error %1").arg(ESRCH);
    QTest::newRow("ENXIO") << ENXIO << false << ENXIO << QStringLiteral("I/O error %1").arg(ENXIO);
    QTest::newRow("ELOOP") << ELOOP << false << ELOOP << QStringLiteral("I/O error %1").arg(ELOOP);
    QTest::newRow("ENETDOWN") << ENETDOWN << false << ENETDOWN
                              << QStringLiteral("I/O error %1").arg(ENETDOWN);
    QTest::newRow("ENETUNREACH") << ENETUNREACH << false << ENETUNREACH
                                 << QStringLiteral("I/O error %1").arg(ENETUNREACH);
    QTest::newRow("EISCONN") << EISCONN << false << EISCONN
                             << QStringLiteral("I/O error %1").arg(EISCONN);
}

void TestLineFile::errnoMapping()
{
    QFETCH(int, error);
    QFETCH(bool, missingIsFile);
    QFETCH(int, code);
    QFETCH(QString, message);
    const EInOutError failure =
        InOutErrorFromErrno(error, missingIsFile ? MissingEntry::File : MissingEntry::Folder);
    QCOMPARE(failure.ErrorCode(), code);
    QCOMPARE(failure.Message(), message);
}

void TestLineFile::misuseOfALineFile()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("file.txt"));
    QVERIFY(PutFile(path, "a\r\n"));

    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 ReadTextLine(file);
             }),
             QStringLiteral("EInOutError 104 I/O error 104"));
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 AtEndOfFile(file);
             }),
             QStringLiteral("EInOutError 104 I/O error 104"));
    QCOMPARE(Outcome([&] {
                 LineFile file = OpenForReading(path);
                 WriteTextLine(file, QStringLiteral("x"));
             }),
             QStringLiteral("EInOutError 105 I/O error 105"));
    QCOMPARE(Outcome([&] {
                 LineFile file = OpenForReading(path);
                 FlushText(file);
             }),
             QStringLiteral("EInOutError 105 I/O error 105"));
    QCOMPARE(Outcome([&] {
                 LineFile file = OpenForReading(path);
                 CloseLineFile(file);
                 ReadTextLine(file);
             }),
             QStringLiteral("EInOutError 103 I/O error 103"));
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WritePlainText(file, QStringLiteral("a\r\n"));
                 CloseLineFile(file);
                 CloseLineFile(file);
             }),
             QStringLiteral("EInOutError 103 I/O error 103"));
    QCOMPARE(Outcome([&] {
                 LineFile file = OpenForReading(path);
                 LineFile other = std::move(file);
                 QCOMPARE(ReadTextLine(other), QStringLiteral("a"));
                 CloseLineFile(other);
                 AtEndOfFile(file);  // moved from: closed
             }),
             QStringLiteral("EInOutError 103 I/O error 103"));
    // A move assignment over a writing file discards that file's temporary.
    QCOMPARE(Outcome([&] {
                 LineFile file = CreateForWriting(path);
                 WriteTextLine(file, QStringLiteral("lost"));
                 file = OpenForReading(path);
                 QCOMPARE(ReadTextLine(file), QStringLiteral("a"));
                 CloseLineFile(file);
             }),
             QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("a\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("file.txt")}));
}

// --- error codes through the probe -----------------------------------------

void TestLineFile::probeWorksAsTheChildUser()
{
    ProbeOptions options;
    if (!UnprivilegedChild(options.user))
        QSKIP("running as root without a user \"nobody\"");
    const QString folder = NewFolder();
    QVERIFY(SetMode(folder, 0777));
    const QString path = QDir(folder).filePath(QStringLiteral("new.txt"));

    RUN_PROBE(write, {QStringLiteral("write"), path, QStringLiteral("6869")}, folder, options);
    QCOMPARE(write.output, QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("hi"));
    RUN_PROBE(read, {QStringLiteral("read"), path}, folder, options);
    QCOMPARE(read.output, QStringLiteral("line 6869\nok"));
    RUN_PROBE(present, {QStringLiteral("present"), path}, folder, options);
    QCOMPARE(present.output, QStringLiteral("true\nok"));
    if (options.user.drop) {
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(status.st_uid, options.user.uid);  // really written by the other user
    }
}

void TestLineFile::readOnlyFileRefusedForWritingAndUntouched()
{
    ProbeOptions options;
    if (!UnprivilegedChild(options.user))
        QSKIP("running as root without a user \"nobody\"");
    const QString folder = NewFolder();
    QVERIFY(SetMode(folder, 0777));  // the folder itself would allow a new file
    const QString path = QDir(folder).filePath(QStringLiteral("personality.txt"));
    const QByteArray old = "Tavrik\r\n3\r\n50\r\n";
    QVERIFY(PutFile(path, old));
    QVERIFY(SetMode(path, 0444));
    const ino_t inode = InodeOf(path);

    RUN_PROBE(other, {QStringLiteral("write"), path, QStringLiteral("6e6577")}, folder, options);
    QCOMPARE(other.output, AccessDenied);
    // Exactly the bytes already there: nothing to write, nothing to refuse.
    RUN_PROBE(same, {QStringLiteral("write"), path, QString::fromLatin1(old.toHex())}, folder,
              options);
    QCOMPARE(same.output, QStringLiteral("ok"));

    QCOMPARE(FileBytes(path), old);
    QCOMPARE(ModeOf(path), mode_t(0444));
    QCOMPARE(InodeOf(path), inode);
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("personality.txt")}));
    // Reading it is allowed.
    RUN_PROBE(read, {QStringLiteral("read"), path}, folder, options);
    QCOMPARE(read.output, QStringLiteral("line 54617672696b\nline 33\nline 3530\nok"));
}

void TestLineFile::unreadableFileRefusedForReading()
{
    ProbeOptions options;
    if (!UnprivilegedChild(options.user))
        QSKIP("running as root without a user \"nobody\"");
    const QString folder = NewFolder();
    QVERIFY(SetMode(folder, 0777));
    const QString path = QDir(folder).filePath(QStringLiteral("bot.cfg"));
    QVERIFY(PutFile(path, "secret\r\n"));
    QVERIFY(SetMode(path, 0222));  // written by anyone, read by nobody

    RUN_PROBE(read, {QStringLiteral("read"), path}, folder, options);
    QCOMPARE(read.output, AccessDenied);
    RUN_PROBE(present, {QStringLiteral("present"), path}, folder, options);
    QCOMPARE(present.output, QStringLiteral("true\nok"));
    // A write-only file of the writer's own is replaced and keeps its mode.
    // Another user's can only be rewritten in place, which needs a copy of its
    // old bytes first: it is refused and left as it was.
    RUN_PROBE(write, {QStringLiteral("write"), path, QStringLiteral("6e6577")}, folder, options);
    QCOMPARE(write.output,
             options.user.drop ? Expanded(UnreadableInPlace, path) : QStringLiteral("ok"));
    QCOMPARE(ModeOf(path), mode_t(0222));
    QVERIFY(SetMode(path, 0644));  // so that a test run by an ordinary user can look
    QCOMPARE(FileBytes(path), options.user.drop ? QByteArray("secret\r\n") : QByteArray("new"));
}

void TestLineFile::untraversableFolderGivesAccessDenied()
{
    ProbeOptions options;
    if (!UnprivilegedChild(options.user))
        QSKIP("running as root without a user \"nobody\"");
    const QString folder = NewFolder();
    const QString closed = QDir(folder).filePath(QStringLiteral("closed"));
    QVERIFY(QDir().mkdir(closed));
    const QString path = QDir(closed).filePath(QStringLiteral("file.txt"));
    QVERIFY(PutFile(path, "x\r\n"));
    QVERIFY(SetMode(path, 0666));
    QVERIFY(SetMode(closed, 0000));

    RUN_PROBE(read, {QStringLiteral("read"), path}, folder, options);
    QCOMPARE(read.output, AccessDenied);
    RUN_PROBE(write, {QStringLiteral("write"), path, QStringLiteral("79")}, folder, options);
    QCOMPARE(write.output, AccessDenied);
    RUN_PROBE(mkdir, {QStringLiteral("mkdir"), QDir(closed).filePath(QStringLiteral("sub"))},
              folder, options);
    QCOMPARE(mkdir.output, AccessDenied);
    RUN_PROBE(present, {QStringLiteral("present"), path}, folder, options);
    QCOMPARE(present.output, AccessDenied);  // cannot be examined: not taken for absent

    QVERIFY(SetMode(closed, 0755));
    QCOMPARE(FileBytes(path), QByteArray("x\r\n"));
    QCOMPARE(Entries(closed), QStringList({QStringLiteral("file.txt")}));
}

void TestLineFile::readOnlyFolderRefusesNewEntries()
{
    ProbeOptions options;
    if (!UnprivilegedChild(options.user))
        QSKIP("running as root without a user \"nobody\"");
    const QString folder = NewFolder();
    QVERIFY(SetMode(folder, 0555));
    const QString path = QDir(folder).filePath(QStringLiteral("new.txt"));

    RUN_PROBE(write, {QStringLiteral("write"), path, QStringLiteral("79")}, folder, options);
    QCOMPARE(write.output, AccessDenied);
    RUN_PROBE(mkdir, {QStringLiteral("mkdir"), QDir(folder).filePath(QStringLiteral("bot1"))},
              folder, options);
    QCOMPARE(mkdir.output, AccessDenied);
    QCOMPARE(Entries(folder), QStringList());
    QVERIFY(SetMode(folder, 0755));
}

void TestLineFile::tooManyOpenFiles_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("read") << QStringLiteral("read");
    QTest::newRow("write") << QStringLiteral("write");
}

void TestLineFile::tooManyOpenFiles()
{
#ifdef TAVRIK_UNDER_SANITIZERS
    QSKIP("the sanitizers open a pipe to check an object's type while the operation runs, "
          "and with every descriptor taken they report that check as a fault");
#endif
    QFETCH(QString, operation);
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("file.txt"));
    QVERIFY(PutFile(path, "old\r\n"));
    ProbeOptions options;
    options.openFilesLimit = 64;

    QStringList arguments{QStringLiteral("--fill-fds"), operation, path};
    if (operation == QLatin1String("write"))
        arguments << QStringLiteral("6e6577");
    RUN_PROBE(run, arguments, folder, options);
    QCOMPARE(run.output, TooManyOpenFiles);
    QCOMPARE(FileBytes(path), QByteArray("old\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("file.txt")}));

    // The same call without the descriptors taken succeeds.
    arguments.removeFirst();
    RUN_PROBE(control, arguments, folder, options);
    QVERIFY2(control.output.endsWith(QLatin1String("ok")), qPrintable(control.output));
}

// --- safe replacement ------------------------------------------------------

void TestLineFile::createForWritingKeepsOldContentUntilClose()
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

void TestLineFile::newFileAppearsOnlyAtClose()
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

void TestLineFile::destroyedWithoutCloseKeepsOldFile()
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

void TestLineFile::failureInHandlerKeepsOldFile()
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

void TestLineFile::abandonedInAnotherProcessKeepsOldFile()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("bot.cfg"));
    QVERIFY(PutFile(path, "old\r\n"));
    RUN_PROBE(run, {QStringLiteral("abandon"), path, QStringLiteral("6e6577")}, folder);
    QCOMPARE(run.output, QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("old\r\n"));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("bot.cfg")}));
}

void TestLineFile::realWriteFailureKeepsOldFile_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("fits");
    QTest::newRow("10 bytes") << 10 << true;
    QTest::newRow("64 bytes, the limit") << 64 << true;
    QTest::newRow("65 bytes") << 65 << false;
    QTest::newRow("200 bytes") << 200 << false;
    QTest::newRow("50000 bytes") << 50000 << false;
}

void TestLineFile::realWriteFailureKeepsOldFile()
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
void TestLineFile::renameFailureRemovesTemporary_data()
{
    QTest::addColumn<bool>("pipe");
    QTest::newRow("folder") << false;
    QTest::newRow("pipe") << true;
}

void TestLineFile::renameFailureRemovesTemporary()
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

void TestLineFile::permissionsKept_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("0640") << 0640;
    QTest::newRow("0600") << 0600;
    QTest::newRow("0644") << 0644;
    QTest::newRow("0666") << 0666;
    QTest::newRow("0755") << 0755;
    QTest::newRow("0604") << 0604;
}

void TestLineFile::permissionsKept()
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

void TestLineFile::newFileModeFollowsUmask_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");
    QTest::newRow("022") << 022 << 0644;
    QTest::newRow("002") << 002 << 0664;
    QTest::newRow("077") << 077 << 0600;
    QTest::newRow("000") << 000 << 0666;
}

void TestLineFile::newFileModeFollowsUmask()
{
    QFETCH(int, mask);
    QFETCH(int, mode);
    const UmaskScope scope{mode_t(mask)};
    const QString path = QDir(NewFolder()).filePath(QStringLiteral("new.txt"));
    QCOMPARE(Outcome([&] { WriteThroughLayer(path, "x"); }), QStringLiteral("ok"));
    QCOMPARE(ModeOf(path), mode_t(mode));
}

void TestLineFile::ownerKeptWhenRoot_data()
{
    QTest::addColumn<bool>("rootsFile");
    QTest::newRow("another user's file") << false;
    QTest::newRow("root's file of another group") << true;
}

void TestLineFile::ownerKeptWhenRoot()
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
void TestLineFile::fileKeepsItsIdentity_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("fails");
    QTest::newRow("folder takes no new entry") << QStringLiteral("closed folder") << false;
    QTest::newRow("another user's file") << QStringLiteral("foreign owner") << false;
    QTest::newRow("second name") << QStringLiteral("hard link") << false;
    QTest::newRow("second name, write fails") << QStringLiteral("hard link") << true;
    QTest::newRow("closed folder, write fails") << QStringLiteral("closed folder") << true;
}

void TestLineFile::fileKeepsItsIdentity()
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

void TestLineFile::symbolicLinkStaysALink()
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

void TestLineFile::symbolicLinkChainAcrossFolders()
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

void TestLineFile::danglingSymbolicLinkCreatesItsTarget()
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

void TestLineFile::unchangedContentIsNotReplaced()
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

void TestLineFile::unchangedContentStillChecked()
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
void TestLineFile::faultsDuringASave_data()
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

void TestLineFile::faultsDuringASave()
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

// The next save that changes a file removes the temporary files that earlier
// crashed saves of that file left beside it, and nothing else: not the
// user's own backups, and never a copy of old content, which a load tells of
// once instead.
void TestLineFile::leftoversOfCrashedSaves_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<bool>("told");
    const auto row = [](const char* name, const char* entry, const char* kind, bool removed,
                        bool told = false) {
        QTest::newRow(name) << QString::fromLatin1(entry) << QString::fromLatin1(kind) << removed
                            << told;
    };
    const char* temporary = ".personality.txt.tavrik-save-Ab3dE6g8";
    const char* copy = ".personality.txt.tavrik-copy-Ab3dE6g8";
    row("temporary of a crashed save", "", "crashed", true);
    row("copy of a crashed rewrite", copy, "file", false, true);
    row("copy in the cache folder", copy, "cached", false, true);
    row("copy of another folder's file in the cache", copy, "cached elsewhere", false);
    // Only a save in place keeps copies, so only one looks in the cache.
    row("temporary of a crashed copy in the cache", temporary, "cached, saved in place", true);
    row("younger than a minute", temporary, "young", false);
    row("old by the next save", temporary, "aged later", true);
    row("another file's temporary", ".bot.cfg.tavrik-save-Ab3dE6g8", "file", false);
    row("seven characters", ".personality.txt.tavrik-save-Ab3dE6g", "file", false);
    row("nine characters", ".personality.txt.tavrik-save-Ab3dE6g8x", "file", false);
    row("the user's .original", ".personality.txt.original", "file", false);
    row("the user's dated backup", ".personality.txt.20240131", "file", false);
    row("eight letters without the tag", ".personality.txt.Ab3dE6g8", "file", false);
    row("eight letters and .old without the tag", ".personality.txt.Ab3dE6g8.old", "file", false);
    row("not hidden", "personality.txt.tavrik-save-Ab3dE6g8", "file", false);
    row("symbolic link", temporary, "link", false);
    row("symbolic link to an old file", temporary, "link to old", false);
    row("folder", temporary, "folder", false);
    row("second name of a file", temporary, "second name", false);
    row("another user's", temporary, "foreign", false);
}

void TestLineFile::leftoversOfCrashedSaves()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, removed);
    QFETCH(bool, told);
    const struct passwd* nobody = ::getpwnam("nobody");
    if (kind == QLatin1String("foreign") && (::geteuid() != 0 || nobody == nullptr))
        QSKIP("only root can make a file that belongs to someone else");
    const QString folder = NewFolder();
    const QDir dir(folder);
    const QString path = dir.filePath(QStringLiteral("personality.txt"));
    QVERIFY(PutFile(path, "old\r\n"));
    QVERIFY(PutFile(dir.filePath(QStringLiteral("keep.txt")), "kept\r\n"));

    // A copy in the cache folder carries a digest of its file's full path.
    QString place = folder;
    if (kind.startsWith(QLatin1String("cached"))) {
        place = QFile::decodeName(qgetenv("XDG_CACHE_HOME")) + QStringLiteral("/tavrik-control-centre");
        QVERIFY(QDir().mkpath(place));
        const QString owner = kind.endsWith(QLatin1String("elsewhere"))
                                  ? folder + QStringLiteral("x/personality.txt")
                                  : path;
        const QByteArray full = QFile::encodeName(QFileInfo(folder).canonicalFilePath()
                                                  + owner.mid(folder.size()));
        name.replace(QLatin1String(".txt."), QStringLiteral(".txt.%1.").arg(QString::fromLatin1(
                         QCryptographicHash::hash(full, QCryptographicHash::Sha1).toHex().left(16))));
    }
    const QDir placeDir(place);
    if (kind == QLatin1String("crashed")) {
        RUN_PROBE(run, {QStringLiteral("--fault"), QStringLiteral("pwrite:1:crash"),
                        QStringLiteral("write"), path, QStringLiteral("78")},
                  folder);
        QCOMPARE(run.output, QStringLiteral("crash"));
        const QStringList made = dir.entryList({QStringLiteral(".personality.txt.*")},
                                               QDir::Files | QDir::Hidden);
        QCOMPARE(made.size(), 1);
        name = made.first();
    } else if (kind.startsWith(QLatin1String("link"))) {
        QVERIFY(MakeLink(QStringLiteral("keep.txt"), dir.filePath(name)));
        if (kind == QLatin1String("link to old"))
            QVERIFY(AgeBy(dir.filePath(QStringLiteral("keep.txt")), 120));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(dir.mkdir(name));
    } else if (kind == QLatin1String("second name")) {
        QCOMPARE(::link(QFile::encodeName(dir.filePath(QStringLiteral("keep.txt"))).constData(),
                        QFile::encodeName(dir.filePath(name)).constData()),
                 0);
    } else {
        QVERIFY(PutFile(placeDir.filePath(name), "left\r\n"));
    }
    const QString entry = placeDir.filePath(name);
    if (kind == QLatin1String("foreign")) {
        QCOMPARE(::lchown(QFile::encodeName(entry).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    if (kind == QLatin1String("aged later")) {
        // A save that had to keep it young must not be the last to look.
        QCOMPARE(Outcome([&] { WriteThroughLayer(path, "between\r\n"); }), QStringLiteral("ok"));
        QVERIFY(QFileInfo::exists(entry));
    }
    if (kind != QLatin1String("young"))
        QVERIFY(AgeBy(entry, 120));
    if (kind.endsWith(QLatin1String("in place")))
        QCOMPARE(::link(QFile::encodeName(path).constData(),
                        QFile::encodeName(QDir(NewFolder()).filePath(QStringLiteral("second"))).constData()),
                 0);

    const QByteArrayList untold = UntoldKeptCopies(QFile::encodeName(path));
    QCOMPARE(untold, told ? QByteArrayList{QFile::encodeName(entry)} : QByteArrayList());
    for (const QByteArray& copy : untold)
        CopyWasTold(copy);
    QCOMPARE(UntoldKeptCopies(QFile::encodeName(path)), QByteArrayList());

    QCOMPARE(Outcome([&] { WriteThroughLayer(path, "new\r\n"); }), QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), QByteArray("new\r\n"));
    QCOMPARE(QFileInfo::exists(entry) || QFileInfo(entry).isSymLink(), !removed);
    QCOMPARE(FileBytes(dir.filePath(QStringLiteral("keep.txt"))), QByteArray("kept\r\n"));
    QCOMPARE(Entries(folder).size(), removed || place != folder ? 2 : 3);
}

// Two saves of one file in one process, the first failing: the second finds
// what the first left and completes; a copy the first one named stays, and
// is not told of again.
void TestLineFile::aFailedSaveThenASuccessfulOne_data()
{
    QTest::addColumn<bool>("hardLink");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QString>("first");
    QTest::addColumn<bool>("copyKept");
    QTest::newRow("sync fails by rename") << false << QStringList{QStringLiteral("fsync:1:fail")}
                                          << InjectedIoError << false;
    QTest::newRow("rename fails") << false << QStringList{QStringLiteral("rename:1:fail")}
                                  << InjectedIoError << false;
    // pwrite 1 is the copy, 2 the overwrite, 3 the put-back.
    QTest::newRow("in place, damaged beside a copy")
        << true << QStringList{QStringLiteral("pwrite:2:fail"), QStringLiteral("pwrite:3:fail")}
        << DamagedBesideCopy << true;
}

void TestLineFile::aFailedSaveThenASuccessfulOne()
{
    QFETCH(bool, hardLink);
    QFETCH(QStringList, faults);
    QFETCH(QString, first);
    QFETCH(bool, copyKept);
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("bot.cfg"));
    const QByteArray old = "pause 3\r\n";
    QVERIFY(PutFile(path, old));
    if (hardLink)
        QCOMPARE(::link(QFile::encodeName(path).constData(),
                        QFile::encodeName(QDir(folder).filePath(QStringLiteral("other.cfg"))).constData()),
                 0);
    const QStringList entries = Entries(folder);
    QStringList arguments;
    for (const QString& fault : faults)
        arguments << QStringLiteral("--fault") << fault;
    arguments << QStringLiteral("write") << path << QString::fromLatin1(QByteArray("first").toHex())
              << QStringLiteral("write") << path << QString::fromLatin1(QByteArray("second").toHex())
              << QStringLiteral("copies") << path;
    RUN_PROBE(run, arguments, folder);

    QStringList left = Entries(folder);
    for (const QString& name : entries)
        left.removeOne(name);
    QCOMPARE(left.size(), copyKept ? 1 : 0);
    const QString copy = left.isEmpty() ? QString() : QDir(folder).filePath(left.first());
    if (copyKept)
        QCOMPARE(FileBytes(copy), old);
    // The error box named the copy: a load does not tell of it again.
    QCOMPARE(run.output, Expanded(first, path, copy) + QStringLiteral("\nok\nok"));
    QCOMPARE(FileBytes(path), QByteArray("second"));
}

// Another program puts a symbolic link or another file in the file's place
// after the save looked at it (the probe renames it in after the save's first
// fstat), or after it wrote the new bytes (after the first fsync, of the
// temporary file or of the copy), or changes the file where it is: the file
// is then not written, and neither is what took its place. A save over what
// it read first takes that for a change made elsewhere.
void TestLineFile::aFileSwappedInAfterTheInspectionIsNotWritten_data()
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

void TestLineFile::aFileSwappedInAfterTheInspectionIsNotWritten()
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
void TestLineFile::attributesSurviveASave_data()
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

void TestLineFile::attributesSurviveASave()
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


// A file larger than any line file is refused unread, and none is written:
// it could not be read back.
void TestLineFile::fileOverTheLimitIsNotRead()
{
    const QString folder = NewFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("personality.txt"));
    QVERIFY(PutFile(path, "Big\r\n"));
    QCOMPARE(::truncate(QFile::encodeName(path).constData(), 16 * 1024 * 1024 + 1), 0);
    const QString refused = QStringLiteral("EInOutError 223 %1 was not read: it is larger than "
                                           "16 MiB, which no file of the bot ever is")
                                .arg(path);
    const qint64 before = BytesReadSoFar();
    QCOMPARE(Outcome([&] { ReadThroughLayer(path); }), refused);
    QVERIFY(BytesReadSoFar() - before < 4096);
    QCOMPARE(::truncate(QFile::encodeName(path).constData(), 16 * 1024 * 1024), 0);
    QByteArrayList lines;
    QCOMPARE(Outcome([&] { lines = ReadThroughLayer(path); }), QStringLiteral("ok"));
    QCOMPARE(lines.value(0), QByteArray("Big"));

    QByteArray content(16 * 1024 * 1024 + 1, 'x');
    QCOMPARE(Outcome([&] { WriteThroughLayer(path, content); }),
             QStringLiteral("EInOutError 223 %1 was not saved: it would be larger than 16 MiB, and "
                            "a file that large is not read back")
                 .arg(path));
    QCOMPARE(QFileInfo(path).size(), 16 * 1024 * 1024);
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("personality.txt")}));
    content.chop(1);
    QCOMPARE(Outcome([&] { WriteThroughLayer(path, content); }), QStringLiteral("ok"));
    QCOMPARE(FileBytes(path), content);
}

QTEST_GUILESS_MAIN(TestLineFile)
#include "tst_linefile.moc"
