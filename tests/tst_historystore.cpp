// The history store: versions recorded and read back, saves merged while
// typing, the bounds, several editors on one database, and opening.

#include "Exceptions.h"
#include "HistoryStore.h"
#include "OrdinaryUser.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString Game = QStringLiteral("/games/Half-Life");
const QString BotCfg = QStringLiteral("cstrike/bot.cfg");
const QDateTime Start(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);

const QMap<QString, VersionMaker> Makers{
    {"first", VersionMaker::FirstReading}, {"saved", VersionMaker::SavedHere},
    {"elsewhere", VersionMaker::ChangedElsewhere}, {"putback", VersionMaker::PutBack},
    {"restored", VersionMaker::Restored}, {"removed", VersionMaker::Removed}};

// "<number> <maker> <milliseconds after Start> <content>", the content
// "none" when gone and "too-large" when not kept.
QString Described(const StoredVersion& version)
{
    const QString content = version.tooLarge ? QStringLiteral("too-large")
                            : version.content ? QString::fromLatin1(version.content->left(20))
                                              : QStringLiteral("none");
    return QStringLiteral("%1 %2 %3 %4")
        .arg(version.number)
        .arg(Makers.key(version.maker))
        .arg(Start.msecsTo(version.madeAt))
        .arg(content);
}

QStringList Described(const std::vector<StoredVersion>& versions)
{
    QStringList described;
    for (const StoredVersion& version : versions)
        described << Described(version);
    return described;
}

// The numbers of the versions, runs of consecutive ones as "201-3".
QString Numbers(const std::vector<StoredVersion>& versions)
{
    QStringList runs;
    for (std::size_t first = 0, last = 0; first < versions.size(); first = ++last) {
        while (last + 1 < versions.size() && versions[last + 1].number == versions[last].number - 1)
            ++last;
        runs << (first == last ? QString::number(versions[first].number)
                               : QStringLiteral("%1-%2").arg(versions[first].number).arg(versions[last].number));
    }
    return runs.join(',');
}

int ContentsKept(const QString& path)
{
    int count = -1;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
        database.setDatabaseName(path);
        QSqlQuery query(database);
        if (database.open() && query.exec(QStringLiteral("SELECT COUNT(*) FROM contents")) && query.next())
            count = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("look"));
    return count;
}

QByteArray Garbage()
{
    return QByteArray("\x13\x37 this is no database at all\r\n").repeated(40);
}

int PermissionsOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777) : -1;
}

} // namespace

class HistoryStoreTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(folder_.isValid());
        now_ = Start;
    }
    void cleanup() { folder_.remove(); folder_ = QTemporaryDir(); }

    void versionsReadBack_data();
    void versionsReadBack();
    void savesWhileTyping_data();
    void savesWhileTyping();
    void bounds_data();
    void bounds();
    void unopenable_data();
    void unopenable();
    void opening_data();
    void opening();
    void defaultPath_data();
    void defaultPath();

private:
    QString HistoryPath() const { return folder_.filePath(QStringLiteral("history.sqlite")); }

    QTemporaryDir folder_;
    QDateTime now_ = Start;
};

void HistoryStoreTest::versionsReadBack_data()
{
    QTest::addColumn<QString>("maker");
    QTest::addColumn<std::optional<QByteArray>>("content");
    QTest::addColumn<QString>("described");

    QTest::newRow("first reading") << "first" << std::optional(QByteArray("Raven\r\n")) << "1 first 0 Raven\r\n";
    QTest::newRow("saved, bytes of every kind")
        << "saved" << std::optional(QByteArray("\0\xff\r\x1a", 4)) << QString::fromLatin1("1 saved 0 \0\xff\r\x1a", 14);
    QTest::newRow("saved empty") << "saved" << std::optional(QByteArray()) << "1 saved 0 ";
    QTest::newRow("changed elsewhere") << "elsewhere" << std::optional(QByteArray("Rook")) << "1 elsewhere 0 Rook";
    QTest::newRow("put back") << "putback" << std::optional(QByteArray("Rook")) << "1 putback 0 Rook";
    QTest::newRow("restored") << "restored" << std::optional(QByteArray("Rook")) << "1 restored 0 Rook";
    QTest::newRow("removed") << "removed" << std::optional<QByteArray>() << "1 removed 0 none";
    QTest::newRow("largest kept") << "saved" << std::optional(QByteArray(HistoryLimits::largestContent, 'x'))
                                  << "1 saved 0 " + QString(20, 'x');
    QTest::newRow("one byte larger") << "saved" << std::optional(QByteArray(HistoryLimits::largestContent + 1, 'x'))
                                     << "1 saved 0 too-large";
}

void HistoryStoreTest::versionsReadBack()
{
    QFETCH(QString, maker);
    QFETCH(std::optional<QByteArray>, content);
    QFETCH(QString, described);

    HistoryStore store(HistoryPath(), [&] { return now_; });
    store.Record(Game, BotCfg, Makers.value(maker), content);
    const HistoryStore reader(HistoryPath());
    QCOMPARE(Described(reader.Versions(Game, BotCfg)), QStringList{described});
    QCOMPARE(Described(reader.Newest(Game, BotCfg).value()), described);
    QCOMPARE(Described(reader.Version(Game, BotCfg, 1).value()), described);
    const StoredVersion newest = reader.Newest(Game, BotCfg).value();
    QVERIFY(newest.content == (newest.tooLarge ? std::nullopt : content));
    QCOMPARE(ContentsKept(HistoryPath()), newest.content ? 1 : 0);
    QVERIFY(!reader.Version(Game, BotCfg, 2));
    QVERIFY(!reader.Newest(Game + "2", BotCfg));
    QVERIFY(reader.Versions(Game, "valve/bot.cfg").empty());
}

void HistoryStoreTest::savesWhileTyping_data()
{
    QTest::addColumn<QStringList>("steps"); // "<store> <maker> <milliseconds> <content>"
    QTest::addColumn<QStringList>("versions");

    QTest::newRow("within") << QStringList{"a saved 0 R", "a saved 4000 Ra"} << QStringList{"1 saved 4000 Ra"};
    QTest::newRow("at the edge") << QStringList{"a saved 0 R", "a saved 10000 Ra"} << QStringList{"1 saved 10000 Ra"};
    QTest::newRow("after") << QStringList{"a saved 0 R", "a saved 10001 Ra"}
                           << QStringList{"2 saved 10001 Ra", "1 saved 0 R"};
    QTest::newRow("typing on") << QStringList{"a saved 0 R", "a saved 8000 Ra", "a saved 16000 Rav"}
                               << QStringList{"1 saved 16000 Rav"};
    QTest::newRow("clock set back") << QStringList{"a saved 5000 R", "a saved 0 Ra"}
                                    << QStringList{"2 saved 0 Ra", "1 saved 5000 R"};
    QTest::newRow("first reading not merged into") << QStringList{"a first 0 R", "a saved 3000 Ra"}
                                                   << QStringList{"2 saved 3000 Ra", "1 first 0 R"};
    QTest::newRow("only saves merge") << QStringList{"a saved 0 R", "a removed 2000 -", "a saved 3000 Ra"}
                                      << QStringList{"3 saved 3000 Ra", "2 removed 2000 none", "1 saved 0 R"};
    QTest::newRow("another store's save") << QStringList{"a saved 0 R", "b saved 3000 Ra"}
                                          << QStringList{"2 saved 3000 Ra", "1 saved 0 R"};
    QTest::newRow("another store's save between")
        << QStringList{"a saved 0 R", "b saved 2000 Ro", "a saved 4000 Ra"}
        << QStringList{"3 saved 4000 Ra", "2 saved 2000 Ro", "1 saved 0 R"};
    QTest::newRow("two stores alternately")
        << QStringList{"a first 0 R", "b saved 20000 Ro", "a saved 40000 Ra", "b elsewhere 60000 Rav"}
        << QStringList{"4 elsewhere 60000 Rav", "3 saved 40000 Ra", "2 saved 20000 Ro", "1 first 0 R"};
}

void HistoryStoreTest::savesWhileTyping()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, versions);

    HistoryStore a(HistoryPath(), [&] { return now_; });
    HistoryStore b(HistoryPath(), [&] { return now_; });
    for (const QString& step : steps) {
        const QStringList part = step.split(' ');
        now_ = Start.addMSecs(part[2].toLongLong());
        const VersionMaker maker = Makers.value(part[1]);
        (part[0] == "a" ? a : b)
            .Record(Game, BotCfg, maker, maker == VersionMaker::Removed ? std::nullopt : std::optional(part[3].toLatin1()));
    }
    QCOMPARE(Described(HistoryStore(HistoryPath()).Versions(Game, BotCfg)), versions);
}

void HistoryStoreTest::bounds_data()
{
    // Each step records "<count> <file>" versions on a day after Start, a
    // minute apart, each content its own unless the step shares one.
    QTest::addColumn<QStringList>("steps"); // "<file> <count> <day> [<shared content>]"
    QTest::addColumn<QString>("numbersOfA");
    QTest::addColumn<QString>("numbersOfB");
    QTest::addColumn<int>("contents");

    QTest::newRow("200 versions") << QStringList{"a 200 0"} << "200-1" << "" << 200;
    QTest::newRow("201 versions keep the oldest") << QStringList{"a 201 0"} << "201-3,1" << "" << 200;
    QTest::newRow("numbers not reused") << QStringList{"a 201 0", "a 1 0"} << "202-4,1" << "" << 200;
    QTest::newRow("90 days stay") << QStringList{"a 1 -1", "a 3 0", "a 1 90"} << "5-1" << "" << 5;
    QTest::newRow("91 days go but the oldest") << QStringList{"a 3 0", "a 1 91"} << "4,1" << "" << 2;
    QTest::newRow("of every file") << QStringList{"b 3 0", "a 1 91"} << "1" << "1" << 2;
    QTest::newRow("numbers not reused after days") << QStringList{"b 3 0", "a 1 91", "b 1 91"} << "1" << "4,1" << 3;
    QTest::newRow("one content for many versions") << QStringList{"a 3 0 same", "b 2 0 same"} << "3-1" << "2-1" << 1;
    QTest::newRow("a shared content stays") << QStringList{"b 1 0 same", "a 201 0 same"} << "201-3,1" << "1" << 1;
}

void HistoryStoreTest::bounds()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, numbersOfA);
    QFETCH(QString, numbersOfB);
    QFETCH(int, contents);

    HistoryStore store(HistoryPath(), [&] { return now_; });
    int recorded = 0;
    for (const QString& step : steps) {
        const QStringList part = step.split(' ');
        for (int minute = 0; minute < part[1].toInt(); ++minute) {
            now_ = Start.addDays(part[2].toInt()).addSecs(60 * minute);
            const QByteArray content = part.size() > 3 ? part[3].toLatin1() : QByteArray::number(++recorded);
            store.Record(Game, part[0], VersionMaker::ChangedElsewhere, content);
        }
    }
    QCOMPARE(Numbers(store.Versions(Game, "a")), numbersOfA);
    QCOMPARE(Numbers(store.Versions(Game, "b")), numbersOfB);
    QCOMPARE(ContentsKept(HistoryPath()), contents);
}

void HistoryStoreTest::unopenable_data()
{
    QTest::addColumn<QString>("blocker"); // what stands where the history is to go
    QTest::addColumn<QString>("path");

    QTest::newRow("a folder that is a file") << "file" << "state/history.sqlite";
    QTest::newRow("a read-only folder") << "read-only folder" << "state/history.sqlite";
    QTest::newRow("a history that is a folder") << "folder" << "state";
}

void HistoryStoreTest::unopenable()
{
    QFETCH(QString, blocker);
    QFETCH(QString, path);

    const QString state = folder_.filePath("state");
    if (blocker == "file")
        QVERIFY(QFile(state).open(QIODevice::WriteOnly));
    else
        QVERIFY(QDir().mkdir(state));
    QVERIFY(::chmod(QFile::encodeName(folder_.path()).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(state).constData(), blocker == "read-only folder" ? 0555 : 0755) == 0);
    QString message;
    const bool ran = AsOrdinaryUser([&] {
        try {
            HistoryStore store(folder_.filePath(path));
        } catch (const Exception& failure) {
            message = failure.Message();
        }
    });
    QVERIFY(ran);
    QVERIFY2(message.contains(folder_.filePath(path)), qPrintable(message));
}

void HistoryStoreTest::opening_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("versions");

    QTest::newRow("nothing") << "nothing" << QStringList{"1 first 0 Rook"};
    QTest::newRow("a history") << "history" << QStringList{"2 first 0 Rook", "1 saved 0 Raven"};
    QTest::newRow("garbage") << "garbage" << QStringList{"1 first 0 Rook"};
}

void HistoryStoreTest::opening()
{
    QFETCH(QString, before);
    QFETCH(QStringList, versions);

    const QString path = folder_.filePath("state/tavrik/history.sqlite");
    const QString moved = path + ".damaged-" + Start.toLocalTime().toString("yyyyMMdd-HHmmss");
    if (before == "history")
        HistoryStore(path, [&] { return now_; }).Record(Game, BotCfg, VersionMaker::SavedHere, QByteArray("Raven"));
    if (before == "garbage") {
        QVERIFY(QDir().mkpath(folder_.filePath("state/tavrik")));
        for (const char* ending : {"", "-wal"}) {
            QFile file(path + ending);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Garbage()) == Garbage().size());
        }
    }

    HistoryStore store(path, [&] { return now_; });
    store.Record(Game, BotCfg, VersionMaker::FirstReading, QByteArray("Rook"));
    QCOMPARE(Described(store.Versions(Game, BotCfg)), versions);
    QCOMPARE(store.NoticeAtOpen().contains(moved), before == "garbage");
    for (const char* ending : {"", "-wal"}) {
        QFile aside(moved + ending);
        QCOMPARE(aside.open(QIODevice::ReadOnly) ? aside.readAll() : QByteArray(),
                 before == "garbage" ? Garbage() : QByteArray());
        QCOMPARE(PermissionsOf(path + ending), 0600);
    }
    if (before != "garbage")
        QCOMPARE(PermissionsOf(folder_.filePath("state/tavrik")), 0700);
}

void HistoryStoreTest::defaultPath_data()
{
    QTest::addColumn<std::optional<QByteArray>>("stateHome");
    QTest::addColumn<QString>("path");

    const QString home = QDir::homePath() + "/.local/state/tavrik-control-centre/history.sqlite";
    QTest::newRow("set") << std::optional(QByteArray("/var/state")) << "/var/state/tavrik-control-centre/history.sqlite";
    QTest::newRow("unset") << std::optional<QByteArray>() << home;
    QTest::newRow("empty") << std::optional(QByteArray("")) << home;
    QTest::newRow("relative") << std::optional(QByteArray("state")) << home;
}

void HistoryStoreTest::defaultPath()
{
    QFETCH(std::optional<QByteArray>, stateHome);
    QFETCH(QString, path);

    const QByteArray before = qgetenv("XDG_STATE_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_STATE_HOME");
    const auto restore = qScopeGuard([&] { wasSet ? qputenv("XDG_STATE_HOME", before) : qunsetenv("XDG_STATE_HOME"); });
    stateHome ? qputenv("XDG_STATE_HOME", *stateHome) : qunsetenv("XDG_STATE_HOME");
    QCOMPARE(DefaultHistoryPath(), path);
}

QTEST_GUILESS_MAIN(HistoryStoreTest)
#include "tst_historystore.moc"
