#include "DropDownSelector.h"
#include "Exceptions.h"
#include "GameFolder.h"
#include "ProgramStart.h"
#include "ProgramSession.h"
#include "UserPicks.h"
#include "TextArea.h"
#include "main.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every file below a folder with its bytes, to see that nothing was written.
QMap<QString, QByteArray> FilesBelow(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        files.insert(path, ReadBytes(path));
    }
    return files;
}

QString ChatFile(const QString& mod, const QString& name)
{
    return mod + QStringLiteral("/chat/") + name;
}

} // namespace

// The chat page of the main window as the program starts it, in a copy of the
// sample game folder. Everything goes through the user's own actions: picks
// in the selectors and keys in the text area.
class ChatPageTest : public QObject, ProgramSession {
    Q_OBJECT

    void PickMod(int index) { PickWithKeyboard(*form->ModToEditComboBox, index); }
    void PickChatKind(int index) { PickWithKeyboard(*form->ChatTypeComboBox, index); }

    // Each key is pressed and released: every release saves.
    void TypeIntoArea(const QString& text) { QTest::keyClicks(form->ChatEditMemo, text); }
    void PressInArea(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(form->ChatEditMemo, key, modifiers);
    }

    QString AreaText() const { return form->ChatEditMemo->Text(); }

private slots:
    void initTestCase() { PrepareApplication(); }

    void init() { StartInSampleGame(); }

    void cleanup() { Stop(); }

    void controlsOfThePage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        QTest::newRow("label") << "ChatTypeLabel" << QRect(1, 5, 62, 16) << 13 << false;
        QTest::newRow("selector") << "ChatTypeComboBox" << QRect(65, 0, 208, 21) << 11 << false;
        QTest::newRow("help button") << "ChatHelpButton" << QRect(278, 0, 108, 21) << 13 << true;
        QTest::newRow("text area") << "ChatEditMemo" << QRect(1, 23, 593, 362) << 13 << false;
    }

    void controlsOfThePage()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        auto* control = form->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget(), form->ChatTab);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(control->font().pixelSize(), pixelSize);
        QCOMPARE(control->font().bold(), bold);
    }

    void captionsEntriesAndTextArea()
    {
        QCOMPARE(form->ChatTypeLabel->text(), QString("Chat Type"));
        QCOMPARE(form->ChatHelpButton->text(), QString("Chat Help"));
        QStringList entries;
        for (int index = 0; index < form->ChatTypeComboBox->count(); ++index)
            entries << form->ChatTypeComboBox->itemText(index);
        QCOMPARE(entries, (QStringList{"New Round", "Enemy Killed", "Hunting Enemy",
                                       "Enemy Facing Away", "Killed By Enemy", "Bored (Alive)",
                                       "Dead", "Replying (Dead or Alive)",
                                       "Got a Hostage (CS only)", "Planting Bomb (CS only)",
                                       "Defusing Bomb (CS only)"}));
        QVERIFY(form->ChatTypeComboBox->isEditable());
        TextArea* area = form->ChatEditMemo;
        QCOMPARE(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(area->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!area->isReadOnly());
    }

    void focusGoesFromTheTextAreaToTheSelectorAndTheHelpButton()
    {
        form->show();
        form->PageControl->setCurrentWidget(form->ChatTab);
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->ChatEditMemo->setFocus();
        QTest::keyClick(form->ChatEditMemo, Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused == form->ChatTypeComboBox
                || focused == form->ChatTypeComboBox->lineEdit());
        QTest::keyClick(focused, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->ChatHelpButton);
    }

    void startUpShowsTheNewRoundListOfCounterStrike()
    {
        QCOMPARE(form->ChatTypeComboBox->Text(), QString("New Round"));
        QCOMPARE(AreaText().toLatin1(), ReadBytes("cstrike/chat/newround.txt"));
        QVERIFY(seam->boxes.isEmpty());
    }

    void everyKindLoadsAndSaves_data()
    {
        QTest::addColumn<int>("mod");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("path");
        const QStringList files{"newround.txt",    "taunt.txt",       "hunt.txt",
                                "facing_away.txt", "bot_whine.txt",   "bored.txt",
                                "dead.txt",        "reply.txt",       "got_hostage.txt",
                                "plant_bomb.txt",  "defuse_bomb.txt"};
        const QStringList mods{"cstrike", "valve", "opfor", "tfc", "flf"};
        for (int mod = 0; mod < mods.size(); ++mod) {
            const int kinds = mod == 0 ? 11 : 8;
            for (int kind = 0; kind < kinds; ++kind) {
                const QString path = ChatFile(mods[mod], files[kind]);
                QTest::addRow("%s", qPrintable(path)) << mod << kind << path;
            }
        }
    }

    void everyKindLoadsAndSaves()
    {
        QFETCH(int, mod);
        QFETCH(int, kind);
        QFETCH(QString, path);
        if (mod != 0)
            PickMod(mod);
        PickChatKind(kind);
        const QByteArray before = ReadBytes(path);
        QCOMPARE(AreaText().toLatin1(), before);

        form->ChatEditMemo->setFocus();
        PressInArea(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(ReadBytes(path), before);
        TypeIntoArea("gg");
        QCOMPARE(ReadBytes(path), before + "gg");
        QVERIFY2(seam->boxes.isEmpty(), qPrintable(seam->boxes.join('|')));
    }

    void counterStrikeKindsAreRefusedInOtherMods_data()
    {
        QTest::addColumn<int>("mod");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("modFolder");
        QTest::newRow("valve, hostage") << 1 << 8 << "valve";
        QTest::newRow("valve, plant") << 1 << 9 << "valve";
        QTest::newRow("valve, defuse") << 1 << 10 << "valve";
        QTest::newRow("opfor, hostage") << 2 << 8 << "opfor";
        QTest::newRow("tfc, plant") << 3 << 9 << "tfc";
        QTest::newRow("flf, defuse") << 4 << 10 << "flf";
    }

    void counterStrikeKindsAreRefusedInOtherMods()
    {
        QFETCH(int, mod);
        QFETCH(int, kind);
        QFETCH(QString, modFolder);
        const QString notice("notice: This chat file only applies to Counter-Strike");
        PickMod(mod);
        const QString shown = AreaText();
        QCOMPARE(shown.toLatin1(), ReadBytes(ChatFile(modFolder, "newround.txt")));
        const QMap<QString, QByteArray> files = FilesBelow(QDir::currentPath());

        PickChatKind(kind);
        QCOMPARE(seam->boxes, QStringList{notice});
        QCOMPARE(AreaText(), shown);

        form->ChatEditMemo->setFocus();
        TypeIntoArea("ab");
        QCOMPARE(seam->boxes, QStringList(3, notice));
        QCOMPARE(FilesBelow(QDir::currentPath()), files);
    }

    void typedSelectorTextChoosesNoFile()
    {
        const QString notice("notice: You must choose one of the chat file types");
        const QString shown = AreaText();
        const QMap<QString, QByteArray> files = FilesBelow(QDir::currentPath());

        form->ChatTypeComboBox->setFocus();
        QTest::keyClicks(form->ChatTypeComboBox->lineEdit(), "x");
        QCOMPARE(form->ChatTypeComboBox->SelectedIndex(), -1);
        QCOMPARE(seam->boxes, QStringList{notice});
        QCOMPARE(AreaText(), shown);

        form->ChatEditMemo->setFocus();
        PressInArea(Qt::Key_Right);
        PressInArea(Qt::Key_Delete);
        QCOMPARE(seam->boxes, QStringList(3, notice));
        QCOMPARE(FilesBelow(QDir::currentPath()), files);
    }

    // A key that changes nothing writes nothing: the file keeps every byte.
    // A line typed at the end saves the list as the area holds it, in the
    // file's own line ends (CR LF where the row names none).
    void loadedTextAndItsSave_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("shown");
        QTest::addColumn<QByteArray>("lineEnd");
        const auto row = [](const char* name, const QByteArray& file, const QByteArray& shown,
                            const QByteArray& lineEnd = "\r\n") {
            QTest::newRow(name) << file << shown << lineEnd;
        };
        row("no line end after the last line", "one\r\ntwo", "one\r\ntwo\r\n");
        row("empty file", "", "");
        row("one empty line", "\r\n", "\r\n");
        row("empty lines stay", "a\r\n\r\n\r\nb\r\n", "a\r\n\r\n\r\nb\r\n");
        row("CR alone ends a line", "a\rb\r\n", "a\r\nb\r\n");
        row("LF alone ends a line, mixed with CR LF", "a\nb\r\nc\n", "a\r\nb\r\nc\r\n");
        row("LF lines", "a\nb\n", "a\r\nb\r\n", "\n");
        row("LF lines, an empty one, the last without an end", "a\n\nb", "a\r\n\r\nb\r\n", "\n");
        row("one empty LF line", "\n", "\r\n", "\n");
        row("Ctrl-Z ends the file", "a\r\nb\x1a\r\nhidden\r\n", "a\r\nb\r\n");
        row("bytes above 127", "caf\xe9 \xa0\xff%n\r\n", "caf\xe9 \xa0\xff%n\r\n");
    }

    void loadedTextAndItsSave()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, shown);
        QFETCH(QByteArray, lineEnd);
        WriteBytes("cstrike/chat/hunt.txt", file);
        PickChatKind(2);
        QCOMPARE(AreaText(), QString::fromLatin1(shown));
        form->ChatEditMemo->setFocus();
        PressInArea(Qt::Key_Down);
        QCOMPARE(ReadBytes("cstrike/chat/hunt.txt"), file);
        const QByteArray saved = QByteArray(shown).replace("\r\n", lineEnd);

        PressInArea(Qt::Key_End, Qt::ControlModifier);
        TypeIntoArea("new");
        PressInArea(Qt::Key_Return);
        QCOMPARE(ReadBytes("cstrike/chat/hunt.txt"), saved + "new" + lineEnd);
        QVERIFY(seam->boxes.isEmpty());
    }

    void removingTheLastLineEndSavesTheFileWithoutIt()
    {
        WriteBytes("cstrike/chat/dead.txt", "first\r\nsecond\r\n");
        PickChatKind(6);
        form->ChatEditMemo->setFocus();
        PressInArea(Qt::Key_End, Qt::ControlModifier);
        PressInArea(Qt::Key_Backspace);
        QCOMPARE(ReadBytes("cstrike/chat/dead.txt"), QByteArray("first\r\nsecond"));
    }

    void typedLinesHaveNoLimit()
    {
        PickChatKind(1);
        form->ChatEditMemo->setFocus();
        PressInArea(Qt::Key_A, Qt::ControlModifier);
        PressInArea(Qt::Key_Delete);
        QList<QByteArray> lines;
        for (int line = 1; line <= 150; ++line) {
            lines << QByteArray::number(line);
            TypeIntoArea(QString::number(line));
            PressInArea(Qt::Key_Return);
        }
        QCOMPARE(ReadBytes("cstrike/chat/taunt.txt"), CrLfLines(lines));
    }

    void aLineFoldedOnScreenIsSavedAsOneLine()
    {
        form->show();
        form->PageControl->setCurrentWidget(form->ChatTab);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QString line = QString("nice shot, ").repeated(30);
        form->ChatEditMemo->setFocus();
        PressInArea(Qt::Key_A, Qt::ControlModifier);
        TypeIntoArea(line);
        QVERIFY(form->ChatEditMemo->document()->firstBlock().layout()->lineCount() > 2);
        QCOMPARE(ReadBytes("cstrike/chat/newround.txt"), line.toLatin1());
    }

    void aMissingFileIsCreatedByTheNextKeyRelease_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("inPlace"); // of the file
        QTest::newRow("another kind") << "cstrike/chat/facing_away.txt" << "";
        QTest::newRow("another mod") << "valve/chat/newround.txt" << "";
        QTest::newRow("a pipe") << "cstrike/chat/facing_away.txt" << "pipe";
        QTest::newRow("a folder") << "cstrike/chat/facing_away.txt" << "folder";
    }

    // The area no longer shows the list chosen before, so the file holds only
    // what is typed after the failure; a line typed and deleted again before
    // a key release creates nothing. A pipe or a folder is refused, and never
    // waited for.
    void aMissingFileIsCreatedByTheNextKeyRelease()
    {
        QFETCH(QString, path);
        QFETCH(QString, inPlace);
        QVERIFY(QFile::remove(path));
        if (inPlace == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
        else if (inPlace == "folder")
            QVERIFY(QDir().mkdir(path));
        ::alarm(20);
        path.startsWith("valve/") ? PickMod(1) : PickChatKind(3);
        ::alarm(0);
        QCOMPARE(seam->boxes, QStringList{"error: " + (inPlace.isEmpty() ? "File not found.\n" + path
                                                       : path + " is a " + inPlace
                                                             + ", not a file the editor can read.")});
        QCOMPARE(AreaText(), QString());
        // A missing list is shown as the empty list it is; any other is not the file.
        QCOMPARE(form->PageControl->tabText(1), QString(inPlace.isEmpty() ? "Chat Editor" : "Chat Editor (not saved)"));

        form->ChatEditMemo->setFocus();
        QTest::keyPress(form->ChatEditMemo, Qt::Key_X);
        QTest::keyPress(form->ChatEditMemo, Qt::Key_Backspace);
        PressInArea(Qt::Key_Shift);
        QCOMPARE(QFileInfo::exists(path), !inPlace.isEmpty());
        TypeIntoArea("x");
        if (inPlace.isEmpty()) {
            QCOMPARE(ReadBytes(path), QByteArray("x"));
            QCOMPARE(seam->boxes.size(), 1);
            return;
        }
        QVERIFY(!QFileInfo(path).isFile());
        QCOMPARE(seam->boxes.mid(1),
                 QStringList{"error: " + path + " was not saved: it could not be read completely. "
                             "Press F5 to load it from disk; saves go ahead once it has loaded "
                             "completely."});
    }

    void aMissingChatFolderIsNeverCreated()
    {
        QVERIFY(QDir("valve/chat").removeRecursively());
        PickMod(1);
        const QString failure = "error: Invalid filename.\nvalve/chat/newround.txt";
        QCOMPARE(seam->boxes, QStringList{failure});
        QCOMPARE(AreaText(), QString());
        form->ChatEditMemo->setFocus();
        TypeIntoArea("a");
        QCOMPARE(seam->boxes, QStringList(2, failure));
        QVERIFY(!QFileInfo::exists("valve/chat"));
    }

    // The area is failed from inside the load, as a read failure would: the
    // area then holds text that may not be the whole file.
    void aLoadThatFailedPartWayLeavesTheFileAlone()
    {
        const QByteArray before = ReadBytes("cstrike/chat/taunt.txt");
        form->ChatEditMemo->OnChange = [] { throw EInOutError(23); };
        PickChatKind(1);
        form->ChatEditMemo->OnChange = nullptr;
        QCOMPARE(seam->boxes.size(), 1);
        const QString refusal("cstrike/chat/taunt.txt was not saved: it could not be read "
                              "completely. Press F5 to load it from disk; saves go ahead once it "
                              "has loaded completely.");
        QCOMPARE(form->PageControl->tabText(1), QString("Chat Editor (not saved)"));
        QCOMPARE(form->PageControl->tabToolTip(1), refusal);

        form->ChatEditMemo->setFocus();
        TypeIntoArea("x");
        QCOMPARE(seam->boxes.mid(1), QStringList{"error: " + refusal});
        TypeIntoArea("yz");
        PressInArea(Qt::Key_Return);
        QCOMPARE(seam->boxes.size(), 2);
        QCOMPARE(ReadBytes("cstrike/chat/taunt.txt"), before);

        // A load that completes lets the saves through again; the edit that
        // could not be saved goes only when the user says so.
        seam->firstAnswerGiven = true;
        PickChatKind(1);
        QCOMPARE(AreaText().toLatin1(), before);
        form->ChatEditMemo->setFocus();
        TypeIntoArea("!");
        QCOMPARE(ReadBytes("cstrike/chat/taunt.txt"), "!" + before);
        QCOMPARE(seam->boxes.mid(2), QStringList{"question: The changes on the page \"Chat Editor\" could not be saved. Load anyway and lose them, or go back to them? [Load Anyway|Go Back]"});
    }

    // A personality file that is a folder fails the mod change's personality
    // load; the chat page loads the mod's list all the same and saves into it.
    void aModChangeWhosePersonalityFailsStillLoadsItsChatList()
    {
        QVERIFY(QFile::remove("valve/bot1/personality.txt"));
        QVERIFY(QDir().mkdir("valve/bot1/personality.txt"));
        const QByteArray valveList = ReadBytes("valve/chat/newround.txt");
        PickMod(1);
        QCOMPARE(form->ModFolder, QString("valve"));
        QCOMPARE(seam->boxes, QStringList{"error: valve/bot1/personality.txt is a folder, not a "
                                          "file the editor can read."});
        QCOMPARE(form->ChatTypeComboBox->Text(), QString("New Round"));
        QCOMPARE(AreaText().toLatin1(), valveList);

        form->ChatEditMemo->setFocus();
        TypeIntoArea("d");
        QCOMPARE(ReadBytes("valve/chat/newround.txt"), "d" + valveList);
    }

    void aModChangeLoadsThatModsNewRoundList_data()
    {
        QTest::addColumn<int>("mod");
        QTest::addColumn<QString>("modFolder");
        QTest::newRow("valve") << 1 << "valve";
        QTest::newRow("opfor") << 2 << "opfor";
        QTest::newRow("tfc") << 3 << "tfc";
        QTest::newRow("flf") << 4 << "flf";
    }

    void aModChangeLoadsThatModsNewRoundList()
    {
        QFETCH(int, mod);
        QFETCH(QString, modFolder);
        // A Counter-Strike kind on the page is no reason for a notice.
        PickChatKind(9);
        PickMod(mod);
        QCOMPARE(form->ChatTypeComboBox->SelectedIndex(), 0);
        const QString path = ChatFile(modFolder, "newround.txt");
        const QByteArray list = ReadBytes(path);
        QCOMPARE(AreaText().toLatin1(), list);
        QVERIFY(list != ReadBytes("cstrike/chat/newround.txt"));
        form->ChatEditMemo->setFocus();
        TypeIntoArea("o");
        QCOMPARE(ReadBytes(path), "o" + list);
        QVERIFY(seam->boxes.isEmpty());
    }
};

QTEST_MAIN(ChatPageTest)
#include "tst_chatpage.moc"
