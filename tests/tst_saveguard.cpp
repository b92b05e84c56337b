#include "Bytes.h"
#include "Exceptions.h"
#include "GameFolder.h"
#include "LineFile.h"
#include "OrdinaryUser.h"
#include "SaveGuard.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

// Two files on disk and one that is missing, by the short names the steps use.
const QMap<QString, QString> Paths{{"a", "cstrike/bot1/personality.txt"},
                                   {"b", "cstrike/bot2/personality.txt"},
                                   {"missing", "cstrike/bot9/personality.txt"},
                                   {"lf", "cstrike/bot3/personality.txt"},
                                   {"folder", "cstrike/bot4/personality.txt"}};

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

QString Unwritable(const char* name, const char* cause)
{
    return "box: " + Paths.value(name) + " was not saved: it cannot be written, since " + cause;
}

// "writes", "refused" without a box, or "box: " and the failure's message.
template <typename Attempt>
QString Outcome(Attempt&& attempt)
{
    try {
        return attempt();
    } catch (const Exception& failure) {
        return QStringLiteral("box: ") + failure.Message();
    }
}

QString SaveAttempt(SaveGuard& guard, const QString& path)
{
    return Outcome([&] { return guard.MayWrite(path) ? QStringLiteral("writes") : QStringLiteral("refused"); });
}

// A page's whole save of text: "saved", "not saved", or "box: " and the message.
QString WholeSave(SaveGuard& guard, const QString& path, const QString& text)
{
    return Outcome([&] {
        const SaveOutcome outcome = SaveThroughGuard(
            guard, path, SaveWhen::Always, [&](LineFile& file) { WritePlainText(file, text); });
        return outcome == SaveOutcome::Saved ? QStringLiteral("saved") : QStringLiteral("not saved");
    });
}

} // namespace

class SaveGuardTest : public QObject {
    Q_OBJECT

private slots:
    // Each step is "load <file>" (a load begins), "hold <file>" (the page now
    // holds the file completely), "emptied <file>" (it holds the file, saved
    // empty), "edit" (the user changes the page), "lock <file>" (the file, or
    // the folder of a missing one, becomes read-only to the ordinary user who
    // makes the saves from then on) or one whose outcome is listed: "save
    // <file>" (whether it may write), "write <file> <text>" (the page's whole
    // save), "disk <file>" (what the file holds), "edited" (whether the user's
    // edit is pending), "ends" (the line ends a save writes), "read <file>"
    // (a load that reads the file whole, or fails).
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
        // Only a completed load replaces what the user typed.
        QTest::newRow("an edit stays through a load that stops")
            << QStringList{"hold a", "edit", "load b", "edited", "hold b", "edited"}
            << QStringList{"edited: yes", "edited: no"};
        QTest::newRow("line ends as read")
            << QStringList{"ends", "hold lf", "ends", "hold missing", "ends", "hold lf", "hold a", "ends"}
            << QStringList{"ends: CR LF", "ends: LF", "ends: CR LF", "ends: CR LF"};
        // An LF list emptied and typed into again stays an LF list.
        QTest::newRow("line ends kept through an emptied file until a load")
            << QStringList{"hold lf", "emptied lf", "ends", "load lf", "ends"}
            << QStringList{"ends: LF", "ends: CR LF"};
        // Signed from the reading on, as a page whose reading stopped.
        QTest::newRow("a reading that stops")
            << QStringList{"hold a", "read folder", "sign", "save folder", "save folder", "read a",
                           "sign", "save a"}
            << QStringList{"box: " + Paths.value("folder")
                               + " is a folder, not a file the editor can read",
                           "sign: " + Unread("folder").mid(5), Unread("folder"), "refused", "read",
                           "sign: ", "writes"};
        QTest::newRow("held again after a refusal")
            << QStringList{"load a", "save a", "hold b", "save b", "save a"}
            << QStringList{Unread("a"), "writes", Other("a")};
        // Nothing to write, nothing to refuse; what may not be written is
        // refused with one box only where it loses an edit of the user's.
        QTest::newRow("read-only file, nothing to write")
            << QStringList{"hold a", "lock a", "write a Raven\r\n", "sign"} << QStringList{"saved", "sign: "};
        // Without an edit the page's own form of the file is not written.
        QTest::newRow("read-only file, the page's own form differs")
            << QStringList{"hold a", "lock a", "write a Raven", "write a Raven", "sign", "disk a"}
            << QStringList{"saved", "saved", "sign: ", "disk: Raven\r\n"};
        QTest::newRow("read-only file with an edit")
            << QStringList{"hold a", "lock a", "edit", "write a Rook", "write a Rook", "sign", "disk a"}
            << QStringList{Unwritable("a", "the file is read-only"), "not saved",
                           "sign: " + Unwritable("a", "the file is read-only").mid(5), "disk: Raven\r\n"};
        QTest::newRow("read-only folder with an edit")
            << QStringList{"hold missing", "lock missing", "edit", "write missing Rook", "write missing Rook"}
            << QStringList{Unwritable("missing", "its folder is read-only"), "not saved"};
        // Root's 644 file and 755 folder, written as another user: not read-only.
        QTest::newRow("another user's file with an edit")
            << QStringList{"hold a", "give a", "edit", "write a Rook"}
            << QStringList{Unwritable("a", "the file belongs to another user and gives you no "
                                           "permission to write it")};
        QTest::newRow("another user's folder with an edit")
            << QStringList{"hold missing", "give missing", "edit", "write missing Rook"}
            << QStringList{Unwritable("missing", "its folder belongs to another user and gives "
                                                 "you no permission to create files in it")};
    }

    void saveOutcomes()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, outcomes);
        ScratchGameFolder game;
        WriteBytes(Paths.value("a"), "Raven\r\n");
        WriteBytes(Paths.value("b"), "Finch\r\n");
        WriteBytes(Paths.value("lf"), "Heron\n3\n");
        QVERIFY(QDir().mkpath(Paths.value("folder")));
        SaveGuard guard;
        QString sign;
        guard.OnRefusalChange = [&sign](const QString& refusal) { sign = refusal; };

        // The ordinary user must reach the files once they are locked.
        QCOMPARE(::chmod(QFile::encodeName(game.Path()).constData(), 0755), 0);
        const auto unlock = qScopeGuard([] { ::chmod("cstrike/bot9", 0755); });
        bool locked = false;

        QStringList seen;
        for (const QString& step : steps) {
            const QString verb = step.section(' ', 0, 0);
            if (verb == "sign") {
                seen << "sign: " + sign;
                continue;
            }
            if (verb == "edit" || verb == "edited") {
                if (verb == "edit")
                    guard.UserEdited();
                else
                    seen << QString("edited: ") + (guard.HasUserEdits() ? "yes" : "no");
                continue;
            }
            if (verb == "ends") {
                seen << (guard.LineEndsToWrite() == LineEnds::LfAlone ? "ends: LF" : "ends: CR LF");
                continue;
            }
            const QString path = Paths.value(step.section(' ', 1, 1));
            QVERIFY2(!path.isEmpty(), qPrintable(step));
            if (verb == "load") {
                guard.LoadBegins(path);
            } else if (verb == "read") {
                seen << Outcome([&] {
                    guard.LoadBegins(path);
                    ReadThroughGuard(guard, path, [&] {
                        return std::optional(ContentOf(OpenForReading(path)));
                    });
                    return QStringLiteral("read");
                });
            } else if (verb == "hold") {
                guard.Holds(path, FileIsPresent(path) ? std::optional(ReadBytes(path)) : std::nullopt);
            } else if (verb == "lock" || verb == "give") {
                if (verb == "give" && ::geteuid() != 0)
                    QSKIP("only a run as root has files of another user to write");
                const QString made = FileIsPresent(path) ? path : QFileInfo(path).path();
                QVERIFY(QDir().mkpath(QFileInfo(path).path()));
                const mode_t mode = (made == path ? 0444 : 0555) | (verb == "give" ? 0200 : 0);
                QCOMPARE(::chmod(QFile::encodeName(made).constData(), mode), 0);
                locked = true;
            } else if (verb == "disk") {
                seen << "disk: " + BytesToText(ReadBytes(path));
            } else if (verb == "write") {
                const QString text = step.section(' ', 2);
                const auto write = [&] { seen << WholeSave(guard, path, text); };
                if (!locked)
                    write();
                else if (!AsOrdinaryUser(write))
                    QSKIP("running as root without a user \"nobody\"");
            } else if (verb == "emptied") {
                guard.Holds(path, QByteArray());
            } else {
                seen << SaveAttempt(guard, path);
            }
        }
        QCOMPARE(seen, outcomes);
    }
};

QTEST_MAIN(SaveGuardTest)
#include "tst_saveguard.moc"
