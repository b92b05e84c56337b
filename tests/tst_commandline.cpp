#include "GameFolder.h"

#include <QDir>
#include <QFileInfo>
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
    }

    void endsWithoutWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, standardOutput);
        QFETCH(QString, standardError);
        QTemporaryDir folder;
        QVERIFY(QFile(folder.filePath("file")).open(QIODevice::WriteOnly));
        QProcess editor;
        editor.setWorkingDirectory(folder.path());
        editor.setProcessEnvironment(WithoutDisplay());
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
    }

    void startsInTheGivenFolder_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("relative") << QStringList{"game"};
        QTest::newRow("after Qt's option") << QStringList{"-platform", "offscreen", "game"};
        QTest::newRow("after Qt's option with =") << QStringList{"--platform=offscreen", "game"};
        QTest::newRow("named like an option") << QStringList{"--", "-game"};
    }

    // Started from the folder above the game's, the editor runs in the game's.
    void startsInTheGivenFolder()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir above;
        const auto game = ScratchGameFolder::WithSampleMods();
        const QString folderName = arguments.last();
        QVERIFY(QDir().rename(game->Path(), above.filePath(folderName)));
        QProcess editor;
        editor.setWorkingDirectory(above.path());
        // No display: the editor starts only on the offscreen platform, which
        // a platform option must bring to Qt by itself.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        if (arguments.filter(QStringLiteral("platform")).isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        else
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        editor.setProcessEnvironment(environment);
        editor.start(QStringLiteral(TAVRIK_EDITOR), arguments);
        QVERIFY(editor.waitForStarted());
        const QString expected = QFileInfo(above.filePath(folderName)).canonicalFilePath();
        const QString workingFolder = QStringLiteral("/proc/%1/cwd").arg(editor.processId());
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(workingFolder).canonicalFilePath(), expected, 20000);
        // Still running: the window is open on the game's files.
        QVERIFY(!editor.waitForFinished(500));
        editor.kill();
        editor.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
