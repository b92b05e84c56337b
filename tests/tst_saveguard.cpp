#include "Exceptions.h"
#include "GameFolder.h"
#include "LineFile.h"
#include "SaveGuard.h"

#include <QtTest>

namespace {

// Two files on disk and one that is missing, by the short names the steps use.
const QMap<QString, QString> Paths{{"a", "cstrike/bot1/personality.txt"},
                                   {"b", "cstrike/bot2/personality.txt"},
                                   {"missing", "cstrike/bot9/personality.txt"},
                                   {"lf", "cstrike/bot3/personality.txt"}};

const QString F5Hint(". Press F5 to load it from disk; saves go ahead once it has loaded completely");

QString Unread(const char* name)
{
    return "box: " + Paths.value(name) + " was not saved: it could not be read completely" + F5Hint;
}

QString Other(const char* name)
{
    return "box: " + Paths.value(name) + " was not saved: the page shows another file's content" + F5Hint;
}

QString Unshown(const char* name)
{
    return "box: " + Paths.value(name) + " was not saved: the page has not shown it yet" + F5Hint;
}

// "writes", "refused" without a box, or "box: " and the failure's message.
QString SaveAttempt(SaveGuard& guard, const QString& path)
{
    try {
        return guard.MayWrite(path) ? QStringLiteral("writes") : QStringLiteral("refused");
    } catch (const Exception& failure) {
        return QStringLiteral("box: ") + failure.Message();
    }
}

} // namespace

class SaveGuardTest : public QObject {
    Q_OBJECT

private slots:
    // Each step is "load <file>" (a load begins), "hold <file>" (the page now
    // holds the file completely), "emptied <file>" (it holds the file, saved
    // empty) or "save <file>", whose outcome is listed, as is that of "ends",
    // the line ends a save writes.
    void saveOutcomes_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("outcomes");

        QTest::newRow("missing file, nothing loaded")
            << QStringList{"save missing", "save missing"} << QStringList{"writes", "writes"};
        QTest::newRow("missing file whose load failed")
            << QStringList{"load missing", "save missing"} << QStringList{"writes"};
        // Filling a missing file from another file's content would be wrong data.
        QTest::newRow("missing file while another is held")
            << QStringList{"hold a", "save missing", "save missing"} << QStringList{Other("missing"), "refused"};
        QTest::newRow("missing file after another's stopped load")
            << QStringList{"hold a", "load b", "save missing"} << QStringList{Other("missing")};
        QTest::newRow("missing file once held")
            << QStringList{"hold missing", "save missing"} << QStringList{"writes"};
        QTest::newRow("held file") << QStringList{"hold a", "save a", "save a"} << QStringList{"writes", "writes"};
        QTest::newRow("completed load") << QStringList{"load a", "hold a", "save a"} << QStringList{"writes"};
        QTest::newRow("load stopped part-way")
            << QStringList{"hold a", "load a", "save a", "save a", "save a"}
            << QStringList{Unread("a"), "refused", "refused"};
        QTest::newRow("a new load of the file raises again")
            << QStringList{"load a", "save a", "save a", "load a", "save a", "save a"}
            << QStringList{Unread("a"), "refused", Unread("a"), "refused"};
        QTest::newRow("a completed load ends the refusals")
            << QStringList{"load a", "save a", "hold a", "save a"} << QStringList{Unread("a"), "writes"};
        QTest::newRow("nothing loaded yet")
            << QStringList{"save a", "save a"} << QStringList{Unshown("a"), "refused"};
        QTest::newRow("another file than the stopped load")
            << QStringList{"load a", "save b", "save b"} << QStringList{Other("b"), "refused"};
        QTest::newRow("another file than the held one")
            << QStringList{"hold a", "save b"} << QStringList{Other("b")};
        QTest::newRow("a load that begins lets go of the held file")
            << QStringList{"hold a", "load b", "save a", "save b"} << QStringList{Other("a"), Unread("b")};
        // The refusal stays in sight after its one box, until a file is held.
        QTest::newRow("the sign of a refusal")
            << QStringList{"sign", "load a", "sign", "save a", "sign", "save a", "load a", "sign",
                           "hold a", "sign"}
            << QStringList{"sign: ", "sign: ", Unread("a"), "sign: " + Unread("a").mid(5), "refused",
                           "sign: " + Unread("a").mid(5), "sign: "};
        QTest::newRow("line ends as read")
            << QStringList{"ends", "hold lf", "ends", "hold missing", "ends", "hold lf", "hold a", "ends"}
            << QStringList{"ends: CR LF", "ends: LF", "ends: CR LF", "ends: CR LF"};
        // An LF list emptied and typed into again stays an LF list.
        QTest::newRow("line ends kept through an emptied file until a load")
            << QStringList{"hold lf", "emptied lf", "ends", "load lf", "ends"}
            << QStringList{"ends: LF", "ends: CR LF"};
        QTest::newRow("held again after a refusal")
            << QStringList{"load a", "save a", "hold b", "save b", "save a"}
            << QStringList{Unread("a"), "writes", Other("a")};
    }

    void saveOutcomes()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, outcomes);
        ScratchGameFolder game;
        WriteBytes(Paths.value("a"), "Raven\r\n");
        WriteBytes(Paths.value("b"), "Finch\r\n");
        WriteBytes(Paths.value("lf"), "Heron\n3\n");
        SaveGuard guard;
        QString sign;
        guard.OnRefusalChange = [&sign](const QString& refusal) { sign = refusal; };

        QStringList seen;
        for (const QString& step : steps) {
            const QString verb = step.section(' ', 0, 0);
            if (verb == "sign") {
                seen << "sign: " + sign;
                continue;
            }
            if (verb == "ends") {
                seen << (guard.LineEndsToWrite() == LineEnds::LfAlone ? "ends: LF" : "ends: CR LF");
                continue;
            }
            const QString path = Paths.value(step.section(' ', 1));
            QVERIFY2(!path.isEmpty(), qPrintable(step));
            if (verb == "load")
                guard.LoadBegins(path);
            else if (verb == "hold")
                guard.Holds(path, FileIsPresent(path) ? std::optional(ReadBytes(path)) : std::nullopt);
            else if (verb == "emptied")
                guard.Holds(path, QByteArray());
            else
                seen << SaveAttempt(guard, path);
        }
        QCOMPARE(seen, outcomes);
    }
};

QTEST_MAIN(SaveGuardTest)
#include "tst_saveguard.moc"
