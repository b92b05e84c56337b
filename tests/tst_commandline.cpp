#include "FolderOfLastTime.h"
#include "GameFolder.h"
#include "GameFolderChoice.h"
#include "HistoryStore.h"
#include "SteamLibraries.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The editor's command line, read by the program itself: the options that
// end it at once must do so without a display, and a game folder is entered
// before the start reads any file.
class CommandLineTest : public QObject {
    Q_OBJECT

    // No display at all: neither X, Wayland nor a chosen Qt platform.
    static QProcessEnvironment WithoutDisplay()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        return environment;
    }

private slots:
    void endsWithoutWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("standardOutput");
        QTest::addColumn<QString>("standardError");
        const QString usage =
            QStringLiteral("Usage: tavrik-control-centre [OPTION]... [GAME-FOLDER]");
        const QString version = QStringLiteral("tavrik-control-centre 1.0\n");
        QTest::newRow("help") << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("short help") << QStringList{"-h"} << 0 << usage << QString();
        QTest::newRow("version") << QStringList{"--version"} << 0 << version << QString();
        QTest::newRow("after Qt's options")
            << QStringList{"-platform", "offscreen", "--style=Fusion", "--version"} << 0 << version
            << QString();
        QTest::newRow("unknown option") << QStringList{"--colour"} << 2 << QString()
                                        << "unknown option --colour";
        QTest::newRow("usage with it") << QStringList{"-x"} << 2 << QString() << usage;
        QTest::newRow("Qt option without value") << QStringList{"-style"} << 2 << QString()
                                                 << "option -style needs a value";
        QTest::newRow("two folders") << QStringList{"a", "b"} << 2 << QString()
                                     << "only one game folder";
        QTest::newRow("missing folder")
            << QStringList{"no-such-game"} << 2 << QString()
            << "cannot open the game folder no-such-game: No such file or directory";
        QTest::newRow("a file, not a folder")
            << QStringList{"file"} << 2 << QString()
            << "cannot open the game folder file: Not a directory";
        QTest::newRow("empty folder name") << QStringList{""} << 2 << QString()
                                           << "the game folder's name is empty";
        QTest::newRow("not a game folder")
            << QStringList{"empty"} << 2 << QString()
            << "empty is not a game folder: a game folder holds at least one of the mod "
               "folders cstrike, valve, opfor, tfc, flf\n";
        // The history, read without a window; the test keeps four versions
        // of the chat list and none of bot.cfg.
        const QString chat = "cstrike/chat/newround.txt";
        const QString listed = "\tsaved by this editor\t1 chat line added\n1\t";
        QTest::newRow("history") << QStringList{"--history", chat} << 0 << listed << QString();
        QTest::newRow("history's oldest") << QStringList{"--history=" + chat} << 0
                                          << "\tfirst reading of a run\tthe oldest version kept\n" << QString();
        QTest::newRow("changed between runs") << QStringList{"--history", chat} << 0
            << "3\t2026-12-10 14:02:05\tchanged by another program between runs\t1 chat line added\n" << QString();
        QTest::newRow("restored, which") << QStringList{"--history", chat} << 0
            << "4\t2026-12-10 14:02:05\trestored version 1 of 2026-12-10 14:02:05\t2 chat lines removed\n" << QString();
        QTest::newRow("a version") << QStringList{"--history", chat, "--show", "1"} << 0 << "Hello\r\n" << QString();
        QTest::newRow("no such version") << QStringList{"--history", chat, "--show=5"} << 1 << QString()
                                         << "there is no version 5 of " + chat;
        // The file named as people type it, or from anywhere through a link
        // to the game folder (as ~/.steam/steam is).
        QTest::newRow("from ./") << QStringList{"--history", "./cstrike/./chat/newround.txt"} << 0 << listed << QString();
        QTest::newRow("with //") << QStringList{"--history", "cstrike//chat/newround.txt"} << 0 << listed << QString();
        QTest::newRow("with ..") << QStringList{"--history", "cstrike/../" + chat} << 0 << listed << QString();
        QTest::newRow("absolute through a link, from /")
            << QStringList{"--history", "<link>/" + chat} << 0 << listed << QString();
        QTest::newRow("a version through a link, from /")
            << QStringList{"--history", "<link>/./" + chat, "--show", "1"} << 0 << "Hello\r\n" << QString();
        QTest::newRow("relative, in a mod folder that is a link")
            << QStringList{"<in linked cstrike/chat>", "--history", "newround.txt"} << 0 << listed << QString();
        QTest::newRow("no history of the file") << QStringList{"--history", "cstrike/bot.cfg"} << 1 << QString()
                                                << "no version of cstrike/bot.cfg in ";
        QTest::newRow("version without history") << QStringList{"--show", "1"} << 2 << QString()
                                                 << "--show needs --history FILE";
        QTest::newRow("version zero") << QStringList{"--history", chat, "--show", "0"} << 2 << QString()
                                      << "--show needs a version number, 1 or more, not \"0\"";
        QTest::newRow("history without a file") << QStringList{"--history"} << 2 << QString()
                                                << "--history needs a FILE";
        // Started from a terminal elsewhere: no chooser can show without a display.
        QTest::newRow("no game in the current folder")
            << QStringList{} << 2 << QString()
            << " is not a game folder: a game folder holds at least one of the mod folders "
               "cstrike, valve, opfor, tfc, flf\n";
    }

    void endsWithoutWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, standardOutput);
        QFETCH(QString, standardError);
        QTemporaryDir folder;
        QVERIFY(QFile(folder.filePath("file")).open(QIODevice::WriteOnly));
        QVERIFY(QDir(folder.path()).mkdir("empty"));
        QTemporaryDir state;
        const QString database = state.filePath("tavrik-control-centre/history.sqlite");
        {
            HistoryStore history(database, [] { return QDateTime(QDate(2026, 12, 10), QTime(14, 2, 5), Qt::UTC); });
            const QString game = QDir(folder.path()).canonicalPath();
            const QString chat = "cstrike/chat/newround.txt";
            history.Record(game, chat, VersionMaker::FirstReading, "Hello\r\n");
            history.Record(game, chat, VersionMaker::SavedHere, "Hello\r\nBye\r\n");
            history.Record(game, chat, VersionMaker::FirstReading, "Hello\r\nBye\r\nBye\r\n");
            history.Record(game, chat, VersionMaker::Restored, "Hello\r\n");
        }
        const QByteArray stored = ReadBytes(database);
        // A row that names the game folder through a link runs from the
        // root, where the current folder is no help.
        const QString link = state.filePath("game-link");
        QVERIFY(QFile::link(folder.path(), link));
        const bool throughLink = !arguments.filter("<link>").isEmpty();
        arguments.replaceInStrings("<link>", link);
        // A row run in the game's mod folder that is a link to a folder
        // elsewhere, named by the shell through the link.
        const bool inLinkedMod = arguments.removeAll("<in linked cstrike/chat>") > 0;
        if (inLinkedMod) {
            QVERIFY(QDir(state.path()).mkpath("shared/cstrike/chat"));
            QVERIFY(QFile::link(state.filePath("shared/cstrike"), folder.filePath("cstrike")));
        }
        QProcess editor;
        editor.setWorkingDirectory(throughLink   ? "/"
                                   : inLinkedMod ? folder.filePath("cstrike/chat")
                                                 : folder.path());
        QProcessEnvironment environment = WithoutDisplay();
        if (inLinkedMod)
            environment.insert("PWD", folder.filePath("cstrike/chat"));
        environment.insert("XDG_STATE_HOME", state.path());
        environment.insert("TZ", "UTC");
        editor.setProcessEnvironment(environment);
        editor.start(QStringLiteral(TAVRIK_EDITOR), arguments);
        QVERIFY(editor.waitForFinished(20000));
        QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(editor.exitCode(), exitCode);
        const QString out = QString::fromLocal8Bit(editor.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(editor.readAllStandardError());
        QVERIFY2(standardOutput.isEmpty() ? out.isEmpty() : out.contains(standardOutput),
                 qPrintable(out));
        QVERIFY2(standardError.isEmpty() ? err.isEmpty() : err.contains(standardError),
                 qPrintable(err));
        // Nothing created, not even in a folder refused.
        const auto all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        const QStringList made = inLinkedMod ? QStringList{"cstrike", "empty", "file"}
                                             : QStringList{"empty", "file"};
        QCOMPARE(QDir(folder.path()).entryList(all), made);
        QVERIFY(QDir(folder.filePath("empty")).isEmpty(all));
        QCOMPARE(ReadBytes(database), stored);
    }

    void startsInTheGivenFolder_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("relative") << QStringList{"game"};
        QTest::newRow("after Qt's option") << QStringList{"-platform", "offscreen", "game"};
        QTest::newRow("after Qt's option with =") << QStringList{"--platform=offscreen", "game"};
        QTest::newRow("named like an option") << QStringList{"--", "-game"};
        // Started in the game folder itself, as scripts/start-editor does:
        // the folder of the menu start stays as it was.
        QTest::newRow("none, in the game folder") << QStringList{};
    }

    // Started from the folder above the game's, the editor runs in the game's.
    void startsInTheGivenFolder()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir above;
        const auto game = ScratchGameFolder::WithSampleMods();
        const QString folderName = arguments.value(arguments.size() - 1, "game");
        QVERIFY(QDir().rename(game->Path(), above.filePath(folderName)));
        QProcess editor;
        editor.setWorkingDirectory(arguments.isEmpty() ? above.filePath(folderName) : above.path());
        // No display: the editor starts only on the offscreen platform, which
        // a platform option must bring to Qt by itself.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        if (arguments.filter(QStringLiteral("platform")).isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        else
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), above.filePath("configuration"));
        editor.setProcessEnvironment(environment);
        editor.start(QStringLiteral(TAVRIK_EDITOR), arguments);
        QVERIFY(editor.waitForStarted());
        const QString expected = QFileInfo(above.filePath(folderName)).canonicalFilePath();
        const QString workingFolder = QStringLiteral("/proc/%1/cwd").arg(editor.processId());
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(workingFolder).canonicalFilePath(), expected, 20000);
        // A folder given is kept for the next start from the desktop menu.
        const QString kept = above.filePath("configuration/tavrik-control-centre/game-folder");
        if (arguments.isEmpty())
            QTest::qWait(3000);
        else
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(kept), 20000);
        QCOMPARE(QFileInfo::exists(kept), !arguments.isEmpty());
        if (!arguments.isEmpty())
            QCOMPARE(ReadBytes(kept), QFile::encodeName(expected) + "\n");
        // Still running: the window is open on the game's files.
        QVERIFY(!editor.waitForFinished(500));
        editor.kill();
        editor.waitForFinished();
    }

    // Steam's list of its libraries, in the layouts Steam has written.
    void steamLibraryList_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("current layout")
            << QByteArray("\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/u/.local/share/"
                          "Steam\"\n\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"70\"\t\t\""
                          "512\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"/mnt/Games Disk/"
                          "SteamLibrary\"\n\t\t\"totalsize\"\t\t\"0\"\n\t}\n}\n")
            << QStringList{"/home/u/.local/share/Steam", "/mnt/Games Disk/SteamLibrary"};
        QTest::newRow("old layout")
            << QByteArray("\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1612345678\"\n"
                          "\t\"ContentStatsID\"\t\t\"-4711\"\n\t\"1\"\t\t\"/mnt/games\"\n}\n")
            << QStringList{"/mnt/games"};
        QTest::newRow("escapes, bare words, comments, conditions")
            << QByteArray("// written by hand\nlibraryfolders {\n 1 { path \"/mnt/a \\\"b\\\"\\\\c\" "
                          "[$LINUX] mounted 1 }\n}\n")
            << QStringList{"/mnt/a \"b\"\\c"};
        QTest::newRow("unknown keys and blocks")
            << QByteArray("\"libraryfolders\" { \"contentstatsid\" \"1\" \"path\" \"/not/here\" "
                          "\"x\" { \"path\" \"/nor/here\" } \"2\" { \"apps\" { \"path\" \"/no\" } "
                          "\"path\" \"/mnt/b\" } }")
            << QStringList{"/mnt/b"};
        QTest::newRow("another file") << QByteArray("\"config\" { \"1\" \"/mnt/c\" }")
                                      << QStringList{};
        QTest::newRow("truncated in a path")
            << QByteArray("\"libraryfolders\" { \"0\" { \"path\" \"/mnt/d\" } \"1\" { \"path\" \"/mn")
            << QStringList{"/mnt/d"};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }

    void steamLibraryList()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, paths);
        QCOMPARE(LibraryFolderPaths(text), paths);
    }

    // Where the start from the desktop menu goes without asking, and where
    // the chooser opens when the start must ask, over what the home folder
    // holds: the folder of last time, Half-Life in one or two Steam
    // libraries (the second listed by the first; ~/.steam/steam a link to
    // the first, as Steam makes it).
    void menuStartFolder_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("libraries");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("chooserAt");
        QTest::newRow("nothing") << "none" << 0 << "" << "home";
        QTest::newRow("one found") << "none" << 1 << "library 1" << "library 1";
        // Steam's folder elsewhere, ~/.steam/root the only link to it.
        QTest::newRow("one found through ~/.steam/root")
            << "none" << 1 << "library 1 elsewhere" << "library 1";
        // A record without its line end was cut short: its path may be too.
        QTest::newRow("last time cut short") << "cut short" << 0 << "" << "home";
        QTest::newRow("two found") << "none" << 2 << "" << "library 1";
        QTest::newRow("last time") << "present" << 2 << "last" << "last";
        QTest::newRow("last time gone, one found") << "gone" << 1 << "library 1" << "library 1";
        QTest::newRow("last time gone, two found") << "gone" << 2 << "" << "library 1";
        QTest::newRow("last time without mods") << "no mods" << 0 << "" << "home";
    }

    void menuStartFolder()
    {
        QFETCH(QString, last);
        QFETCH(int, libraries);
        QFETCH(QString, expected);
        QFETCH(QString, chooserAt);
        QTemporaryDir home;
        const bool elsewhere = expected.endsWith(" elsewhere");
        expected.remove(" elsewhere");
        const QString steam = home.filePath(elsewhere ? "games/Steam" : ".local/share/Steam");
        QVERIFY(QDir().mkpath(steam + "/steamapps"));
        QVERIFY(QDir().mkpath(home.filePath(".steam")));
        QVERIFY(QFile::link(steam, home.filePath(elsewhere ? ".steam/root" : ".steam/steam")));
        const QString second = home.filePath("disk 2/SteamLibrary");
        WriteBytes(steam + "/steamapps/libraryfolders.vdf",
                   "\"libraryfolders\" { \"0\" { \"path\" \"" + QFile::encodeName(steam)
                       + "\" } \"1\" { \"path\" \"" + QFile::encodeName(second) + "\" } }");
        const QString halfLife = "/steamapps/common/Half-Life";
        for (int library = 1; library <= libraries; ++library)
            QVERIFY(QDir().mkpath((library == 1 ? steam : second) + halfLife + "/valve"));
        const QString lastFolder = home.filePath("last");
        if (last == "present")
            QVERIFY(QDir().mkpath(lastFolder + "/flf"));
        else if (last == "no mods")
            QVERIFY(QDir().mkpath(lastFolder));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("configuration")));
        if (last != "none")
            KeepFolderOfLastTime(lastFolder);
        if (last == "cut short") {
            // Both the path and the path without its last character are game folders.
            QVERIFY(QDir().mkpath(lastFolder + "/flf"));
            QVERIFY(QDir().mkpath(lastFolder.chopped(1) + "/flf"));
            WriteBytes(home.filePath("configuration/tavrik-control-centre/game-folder"),
                       QFile::encodeName(lastFolder));
        }

        const QStringList found = SteamGameFolders(home.path());
        QCOMPARE(found.size(), libraries);
        const QMap<QString, QString> folders{{"", ""},
                                             {"last", lastFolder},
                                             {"library 1", steam + halfLife},
                                             {"home", QDir::homePath()}};
        QCOMPARE(FolderWithoutAsking(found).value_or(QString()), folders.value(expected));
        QCOMPARE(LikeliestGameFolder(found), folders.value(chooserAt));
    }

    // With a display and a game folder kept from last time: the menu start
    // goes there, while a bare start outside any game folder, as from a
    // terminal elsewhere, asks in the chooser and enters no folder by itself.
    void keptFolderOnlyForTheMenuStart_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("asks");
        QTest::newRow("bare start elsewhere") << QStringList{} << true;
        QTest::newRow("menu start") << QStringList{"--choose-folder"} << false;
    }

    void keptFolderOnlyForTheMenuStart()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, asks);
        QProcess server;
        server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QVERIFY2(server.waitForStarted(5000), "Xvfb did not start");
        QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);
        const QString display = ":" + QString::fromLatin1(server.readLine()).trimmed();
        QTemporaryDir home;
        const QString elsewhere = QDir(home.path()).canonicalPath() + "/elsewhere";
        QVERIFY(QDir().mkpath(elsewhere));
        const auto game = ScratchGameFolder::WithSampleMods();
        const QString kept = QDir(game->Path()).canonicalPath();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("configuration")));
        KeepFolderOfLastTime(kept);

        QProcess editor;
        editor.setWorkingDirectory(elsewhere);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("DISPLAY", display);
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.filePath("configuration"));
        environment.insert("XDG_STATE_HOME", home.filePath("state"));
        editor.setProcessEnvironment(environment);
        editor.start(QStringLiteral(TAVRIK_EDITOR), arguments);
        QVERIFY(editor.waitForStarted());
        const QString workingFolder = QStringLiteral("/proc/%1/cwd").arg(editor.processId());
        const auto windowsShown = [&display] {
            QProcess windows;
            windows.start("xwininfo", {"-display", display, "-root", "-tree"});
            return windows.waitForFinished(5000) ? QString::fromLocal8Bit(windows.readAllStandardOutput())
                                                 : QString();
        };
        const QString chooser = "\"Choose the game folder\"";
        const QString mainWindow = "\"Tavrik Control Centre v1.0\"";
        QTRY_VERIFY_WITH_TIMEOUT(windowsShown().contains(asks ? chooser : mainWindow), 20000);
        QCOMPARE(QFileInfo(workingFolder).canonicalFilePath(), asks ? elsewhere : kept);
        QVERIFY(!windowsShown().contains(asks ? mainWindow : chooser));
        editor.kill();
        editor.waitForFinished();
        server.terminate();
        server.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
