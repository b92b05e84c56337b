// What crashed and failed saves leave behind: the next save removes the
// temporary files of crashed saves and nothing else, and a copy of old content
// stays until it has been told of (see LineFileProbe.h for the probe).

#include "LineFileProbe.h"
#include "LineFileTestCase.h"
#include "RawFiles.h"
#include "SaveLeftovers.h"

#include <QtTest>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <pwd.h>
#include <unistd.h>

class TestLineFileLeftovers : public LineFileTestCase {
    Q_OBJECT

private slots:
    // What crashed and failed saves leave behind.
    void leftoversOfCrashedSaves_data();
    void leftoversOfCrashedSaves();
    void aFailedSaveThenASuccessfulOne_data();
    void aFailedSaveThenASuccessfulOne();
};

// The next save that changes a file removes the temporary files that earlier
// crashed saves of that file left beside it, and nothing else: not the
// user's own backups, and never a copy of old content, which a load tells of
// once instead.
void TestLineFileLeftovers::leftoversOfCrashedSaves_data()
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

void TestLineFileLeftovers::leftoversOfCrashedSaves()
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
void TestLineFileLeftovers::aFailedSaveThenASuccessfulOne_data()
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

void TestLineFileLeftovers::aFailedSaveThenASuccessfulOne()
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

QTEST_GUILESS_MAIN(TestLineFileLeftovers)
#include "tst_linefile_leftovers.moc"
