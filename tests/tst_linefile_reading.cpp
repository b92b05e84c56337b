// The line text file layer: reading and writing texts byte for byte, and the
// error codes of its operations, in this process and, for another user or
// lowered limits, in the probe's (see LineFileProbe.h).

#include "Bytes.h"
#include "LineFile.h"
#include "LineFileProbe.h"
#include "LineFileTestCase.h"
#include "ProcessReads.h"
#include "RawFiles.h"
#include "SystemErrors.h"

#include <QtTest>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Repeated(char byte, int count)
{
    return QByteArray(count, byte);
}

}  // namespace

class TestLineFileReading : public LineFileTestCase {
    Q_OBJECT

private slots:
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

    // The size limit.
    void fileOverTheLimitIsNotRead();
};

// --- reading ---------------------------------------------------------------

void TestLineFileReading::readLines_data()
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

void TestLineFileReading::readLines()
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

void TestLineFileReading::readingPastTheEndGivesEmptyTexts()
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

void TestLineFileReading::atEndOfFileDoesNotMove()
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

void TestLineFileReading::everyByteSurvivesWriteAndRead_data()
{
    QTest::addColumn<int>("byte");
    for (int byte = 0; byte < 256; ++byte)
        QTest::newRow(qPrintable(QStringLiteral("byte %1").arg(byte))) << byte;
}

void TestLineFileReading::everyByteSurvivesWriteAndRead()
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

void TestLineFileReading::allByteValuesInOneFile()
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

void TestLineFileReading::writeTextLineAddsCrLfAndWritePlainTextNothing()
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

void TestLineFileReading::nothingWrittenGivesAnEmptyFile()
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

void TestLineFileReading::latin1CharactersAreSingleBytes()
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

void TestLineFileReading::charactersAboveU00FFAreRefused()
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

void TestLineFileReading::missingFileGivesFileNotFound()
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
    QVERIFY(QDir::setCurrent(ScratchPath()));
}

void TestLineFileReading::missingFolderGivesInvalidFilename_data()
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

void TestLineFileReading::missingFolderGivesInvalidFilename()
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

void TestLineFileReading::makeFolder()
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

void TestLineFileReading::existingNameGives183_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("file") << QStringLiteral("file");
    QTest::newRow("dangling link") << QStringLiteral("dangling");
    QTest::newRow("link to folder") << QStringLiteral("link");
}

void TestLineFileReading::existingNameGives183()
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

void TestLineFileReading::folderOpenedAsFileGivesAccessDenied()
{
    const QString folder = NewFolder();
    const QString sub = QDir(folder).filePath(QStringLiteral("personality.txt"));
    QVERIFY(QDir().mkdir(sub));
    QVERIFY(PutFile(QDir(sub).filePath(QStringLiteral("inside")), "x"));
    const QString link = QDir(folder).filePath(QStringLiteral("link"));
    QVERIFY(MakeLink(QStringLiteral("personality.txt"), link));

    const QString notAFile = QStringLiteral("EInOutError 5 %1 is a folder, not a file the editor can read");
    QCOMPARE(Outcome([&] { OpenForReading(sub); }), notAFile.arg(sub));
    QCOMPARE(Outcome([&] { CreateForWriting(sub); }), AccessDenied);
    QCOMPARE(Outcome([&] { OpenForReading(link); }), notAFile.arg(link));
    QCOMPARE(Outcome([&] { CreateForWriting(link); }), AccessDenied);
    QCOMPARE(Outcome([&] { CreateForWriting(sub + QLatin1Char('/')); }), AccessDenied);
    QCOMPARE(Outcome([&] { CreateForWriting(QDir(folder).filePath(QStringLiteral("new/"))); }),
             AccessDenied);

    QVERIFY(QFileInfo(sub).isDir());
    QCOMPARE(Entries(sub), QStringList({QStringLiteral("inside")}));
    QCOMPARE(Entries(folder), QStringList({QStringLiteral("link"), QStringLiteral("personality.txt")}));
}

void TestLineFileReading::pipesAndDevicesGiveAccessDenied_data()
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
void TestLineFileReading::pipesAndDevicesGiveAccessDenied()
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
    QCOMPARE(reading, QStringLiteral("EInOutError 5 %1 is %2, not a file the editor can read")
                          .arg(path, linkTarget.startsWith("/dev/") ? "a device" : "a pipe"));
    QCOMPARE(writing, AccessDenied);
    QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    char events[256];
    QCOMPARE(::read(watch, events, sizeof events), ssize_t(-1));  // no open was seen
    ::close(watch);
}

void TestLineFileReading::fileIsPresent_data()
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

void TestLineFileReading::fileIsPresent()
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

void TestLineFileReading::errnoMapping_data()
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

void TestLineFileReading::errnoMapping()
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

void TestLineFileReading::misuseOfALineFile()
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

void TestLineFileReading::probeWorksAsTheChildUser()
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

void TestLineFileReading::readOnlyFileRefusedForWritingAndUntouched()
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

void TestLineFileReading::unreadableFileRefusedForReading()
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

void TestLineFileReading::untraversableFolderGivesAccessDenied()
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

void TestLineFileReading::readOnlyFolderRefusesNewEntries()
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

void TestLineFileReading::tooManyOpenFiles_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("read") << QStringLiteral("read");
    QTest::newRow("write") << QStringLiteral("write");
}

void TestLineFileReading::tooManyOpenFiles()
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

// A file larger than any line file is refused unread, and none is written:
// it could not be read back.
void TestLineFileReading::fileOverTheLimitIsNotRead()
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

QTEST_GUILESS_MAIN(TestLineFileReading)
#include "tst_linefile_reading.moc"
