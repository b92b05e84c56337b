// The history store: versions recorded and read back, saves merged while
// typing, the bounds, several stores on one database, and opening.

#include "Exceptions.h"
#include "HistoryStore.h"
#include "OrdinaryUser.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <sys/stat.h>

using Content = std::optional<QByteArray>;

namespace {

const QString Game = QStringLiteral("/games/Half-Life");
const QString BotCfg = QStringLiteral("cstrike/bot.cfg");
const QDateTime Start(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);
const QMap<QString, VersionMaker> Makers{
    {"first", VersionMaker::FirstReading}, {"saved", VersionMaker::SavedHere},
    {"elsewhere", VersionMaker::ChangedElsewhere}, {"putback", VersionMaker::PutBack},
    {"restored", VersionMaker::Restored}, {"removed", VersionMaker::Removed}};

// "<number> <maker> <milliseconds after Start> <content's start>", with
// "none" for no content and "too-large" for one not kept; joined by "|".
QString Described(const std::vector<StoredVersion>& versions)
{
    QStringList described;
    for (const StoredVersion& version : versions) {
        const QString content = version.tooLarge ? QStringLiteral("too-large")
                                : version.content ? QString::fromLatin1(version.content->left(20))
                                                  : QStringLiteral("none");
        described << QStringLiteral("%1 %2 %3 %4").arg(version.number).arg(Makers.key(version.maker))
                         .arg(Start.msecsTo(version.madeAt)).arg(content);
    }
    return described.join('|');
}

// The numbers of the versions, runs of consecutive ones as "201-3".
QString Numbers(const std::vector<StoredVersion>& versions)
{
    QStringList runs;
    for (std::size_t first = 0, last = 0; first < versions.size(); first = ++last) {
        while (last + 1 < versions.size() && versions[last + 1].number == versions[last].number - 1)
            ++last;
        const QString tail = first == last ? QString() : "-" + QString::number(versions[last].number);
        runs << QString::number(versions[first].number) + tail;
    }
    return runs.join(',');
}

int ContentsKept(const QString& path)
{
    const auto forget = qScopeGuard([] { QSqlDatabase::removeDatabase(QStringLiteral("look")); });
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
    database.setDatabaseName(path);
    QSqlQuery query(database);
    const bool counted = database.open() && query.exec(QStringLiteral("SELECT COUNT(*) FROM contents")) && query.next();
    return counted ? query.value(0).toInt() : -1;
}

int PermissionsOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777) : -1;
}

const QByteArray Garbage = QByteArray("\x13\x37 this is no database at all\r\n").repeated(40);

} // namespace

class HistoryStoreTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QDateTime now_;
    std::function<QDateTime()> clock_ = [this] { return now_; };

    QString HistoryPath() const { return folder_.filePath(QStringLiteral("history.sqlite")); }

private slots:
    void init()
    {
        QVERIFY(folder_.isValid());
        now_ = Start;
    }
    void cleanup() { folder_.remove(); folder_ = QTemporaryDir(); }

    void versionsReadBack_data()
    {
        QTest::addColumn<QString>("maker");
        QTest::addColumn<Content>("content");
        QTest::addColumn<QString>("described");
        const auto row = [](const char* name, const char* maker, const Content& content, const QString& described) {
            QTest::newRow(name) << maker << content << described;
        };
        row("first reading", "first", QByteArray("Raven\r\n"), "1 first 0 Raven\r\n");
        row("saved, bytes of every kind", "saved", QByteArray("\0\xff\r\x1a", 4),
            QString::fromLatin1("1 saved 0 \0\xff\r\x1a", 14));
        row("saved empty", "saved", QByteArray(), "1 saved 0 ");
        row("changed elsewhere", "elsewhere", QByteArray("Rook"), "1 elsewhere 0 Rook");
        row("put back", "putback", QByteArray("Rook"), "1 putback 0 Rook");
        row("restored", "restored", QByteArray("Rook"), "1 restored 0 Rook");
        row("removed", "removed", std::nullopt, "1 removed 0 none");
        row("largest kept", "saved", QByteArray(HistoryLimits::largestContent, 'x'), "1 saved 0 " + QString(20, 'x'));
        row("one byte larger", "saved", QByteArray(HistoryLimits::largestContent + 1, 'x'), "1 saved 0 too-large");
    }
    void versionsReadBack()
    {
        QFETCH(QString, maker);
        QFETCH(Content, content);
        QFETCH(QString, described);

        HistoryStore(HistoryPath(), clock_).Record(Game, BotCfg, Makers.value(maker), content);
        const HistoryStore reader(HistoryPath());
        QCOMPARE(Described(reader.Versions(Game, BotCfg)), described);
        QCOMPARE(Described({reader.Newest(Game, BotCfg).value(), reader.Version(Game, BotCfg, 1).value()}),
                 described + "|" + described);
        const StoredVersion newest = reader.Newest(Game, BotCfg).value();
        QVERIFY(newest.content == (newest.tooLarge ? std::nullopt : content));
        QCOMPARE(ContentsKept(HistoryPath()), newest.content ? 1 : 0);
        QVERIFY(!reader.Version(Game, BotCfg, 2));
        QVERIFY(!reader.Newest(Game + "2", BotCfg) && !reader.Newest(Game, "bot.cfg"));
    }

    void savesWhileTyping_data()
    {
        QTest::addColumn<QString>("steps"); // "<store> <maker> <milliseconds> <content>|..."
        QTest::addColumn<QString>("versions");
        QTest::newRow("within") << "a saved 0 R|a saved 4000 Ra" << "1 saved 4000 Ra";
        QTest::newRow("at the edge") << "a saved 0 R|a saved 10000 Ra" << "1 saved 10000 Ra";
        QTest::newRow("after") << "a saved 0 R|a saved 10001 Ra" << "2 saved 10001 Ra|1 saved 0 R";
        QTest::newRow("typing on") << "a saved 0 R|a saved 8000 Ra|a saved 16000 Rav" << "1 saved 16000 Rav";
        QTest::newRow("clock set back") << "a saved 5000 R|a saved 0 Ra" << "2 saved 0 Ra|1 saved 5000 R";
        QTest::newRow("first reading not merged into")
            << "a first 0 R|a saved 3000 Ra" << "2 saved 3000 Ra|1 first 0 R";
        QTest::newRow("only saves merge") << "a saved 0 R|a removed 2000 -|a saved 3000 Ra"
                                          << "3 saved 3000 Ra|2 removed 2000 none|1 saved 0 R";
        QTest::newRow("another store's save") << "a saved 0 R|b saved 3000 Ra" << "2 saved 3000 Ra|1 saved 0 R";
        QTest::newRow("another store's save between") << "a saved 0 R|b saved 2000 Ro|a saved 4000 Ra"
                                                      << "3 saved 4000 Ra|2 saved 2000 Ro|1 saved 0 R";
        QTest::newRow("two stores alternately")
            << "a first 0 R|b saved 20000 Ro|a saved 40000 Ra|b elsewhere 60000 Rav"
            << "4 elsewhere 60000 Rav|3 saved 40000 Ra|2 saved 20000 Ro|1 first 0 R";
    }
    void savesWhileTyping()
    {
        QFETCH(QString, steps);
        QFETCH(QString, versions);

        HistoryStore a(HistoryPath(), clock_);
        HistoryStore b(HistoryPath(), clock_);
        for (const QString& step : steps.split('|')) {
            const QStringList part = step.split(' ');
            now_ = Start.addMSecs(part[2].toLongLong());
            const VersionMaker maker = Makers.value(part[1]);
            const Content content = maker == VersionMaker::Removed ? Content() : part[3].toLatin1();
            (part[0] == "a" ? a : b).Record(Game, BotCfg, maker, content);
        }
        QCOMPARE(Described(HistoryStore(HistoryPath()).Versions(Game, BotCfg)), versions);
    }

    void bounds_data()
    {
        // Each step records its count of versions of a file, a minute apart
        // from a day after Start, each with a content of its own or the one named.
        QTest::addColumn<QString>("steps"); // "<file> <count> <day> [<content>]|..."
        QTest::addColumn<QString>("numbersOfA");
        QTest::addColumn<QString>("numbersOfB");
        QTest::addColumn<int>("contents");
        QTest::newRow("200 versions") << "a 200 0" << "200-1" << "" << 200;
        QTest::newRow("201 versions keep the oldest") << "a 201 0" << "201-3,1" << "" << 200;
        QTest::newRow("90 days stay") << "a 1 -1|a 3 0|a 1 90" << "5-1" << "" << 5;
        QTest::newRow("91 days go but the oldest") << "a 3 0|a 1 91" << "4,1" << "" << 2;
        QTest::newRow("of every file") << "b 3 0|a 1 91" << "1" << "1" << 2;
        QTest::newRow("numbers not reused after days") << "b 3 0|a 1 91|b 1 91" << "1" << "4,1" << 3;
        QTest::newRow("one content for many versions") << "a 3 0 same|b 2 0 same" << "3-1" << "2-1" << 1;
        QTest::newRow("a shared content stays") << "b 1 0 same|a 201 0 same" << "201-3,1" << "1" << 1;
    }
    void bounds()
    {
        QFETCH(QString, steps);
        QFETCH(QString, numbersOfA);
        QFETCH(QString, numbersOfB);
        QFETCH(int, contents);

        HistoryStore store(HistoryPath(), clock_);
        int recorded = 0;
        for (const QString& step : steps.split('|')) {
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

    void unopenable_data()
    {
        QTest::addColumn<QString>("blocker"); // what stands at "state"
        QTest::addColumn<QString>("path");
        QTest::newRow("a folder that is a file") << "file" << "state/history.sqlite";
        QTest::newRow("a read-only folder") << "read-only folder" << "state/history.sqlite";
        QTest::newRow("a history that is a folder") << "folder" << "state";
    }
    void unopenable()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, path);

        const QString state = folder_.filePath("state");
        QVERIFY(blocker == "file" ? QFile(state).open(QIODevice::WriteOnly) : QDir().mkdir(state));
        QVERIFY(::chmod(QFile::encodeName(folder_.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(state).constData(), blocker == "read-only folder" ? 0555 : 0755) == 0);
        QString message;
        QVERIFY(AsOrdinaryUser([&] {
            try {
                HistoryStore store(folder_.filePath(path));
            } catch (const Exception& failure) {
                message = failure.Message();
            }
        }));
        QVERIFY2(message.contains(folder_.filePath(path)), qPrintable(message));
    }

    void opening_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("versions");
        QTest::newRow("nothing") << "nothing" << "1 first 0 Rook";
        QTest::newRow("a history") << "history" << "2 first 0 Rook|1 saved 0 Raven";
        QTest::newRow("garbage") << "garbage" << "1 first 0 Rook";
    }
    void opening()
    {
        QFETCH(QString, before);
        QFETCH(QString, versions);

        const QString path = folder_.filePath("state/tavrik/history.sqlite");
        const QString moved = path + ".damaged-" + Start.toLocalTime().toString("yyyyMMdd-HHmmss");
        if (before == "history")
            HistoryStore(path, clock_).Record(Game, BotCfg, VersionMaker::SavedHere, QByteArray("Raven"));
        for (const char* ending : {"", "-wal"}) {
            QFile file(path + ending);
            QVERIFY(before != "garbage"
                    || (QDir().mkpath(folder_.filePath("state/tavrik")) && file.open(QIODevice::WriteOnly)
                        && file.write(Garbage) == Garbage.size()));
        }

        HistoryStore store(path, clock_);
        store.Record(Game, BotCfg, VersionMaker::FirstReading, QByteArray("Rook"));
        QCOMPARE(Described(store.Versions(Game, BotCfg)), versions);
        QCOMPARE(store.NoticeAtOpen().contains(moved), before == "garbage");
        for (const char* ending : {"", "-wal"}) {
            QFile aside(moved + ending);
            QCOMPARE(aside.open(QIODevice::ReadOnly) ? aside.readAll() : QByteArray(),
                     before == "garbage" ? Garbage : QByteArray());
            QCOMPARE(PermissionsOf(path + ending), 0600);
        }
        QVERIFY(before == "garbage" || PermissionsOf(folder_.filePath("state/tavrik")) == 0700);
    }

    void defaultPath_data()
    {
        QTest::addColumn<QByteArray>("stateHome");
        QTest::addColumn<QString>("path");
        const QString home = QDir::homePath() + "/.local/state/tavrik-control-centre/history.sqlite";
        QTest::newRow("set") << QByteArray("/var/state") << "/var/state/tavrik-control-centre/history.sqlite";
        QTest::newRow("empty") << QByteArray("") << home;
        QTest::newRow("relative") << QByteArray("state") << home;
    }
    void defaultPath()
    {
        QFETCH(QByteArray, stateHome);
        QFETCH(QString, path);

        const QByteArray before = qgetenv("XDG_STATE_HOME");
        const auto restore = qScopeGuard([&] { qputenv("XDG_STATE_HOME", before); });
        qputenv("XDG_STATE_HOME", stateHome);
        QCOMPARE(DefaultHistoryPath(), path);
    }
};

QTEST_GUILESS_MAIN(HistoryStoreTest)
#include "tst_historystore.moc"
