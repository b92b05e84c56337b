#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "DropDownSelector.h"
#include "Failures.h"
#include "GameFolder.h"
#include "PersonalityFile.h"
#include "ProgramStart.h"
#include "ProgramSession.h"
#include "TextArea.h"
#include "UserPicks.h"
#include "TextField.h"
#include "UserEdits.h"
#include "main.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray NewPersonalityFile()
{
    QList<QByteArray> lines;
    for (const char* line : NewPersonalityLines)
        lines << line;
    return CrLfLines(lines);
}

// A complete personality file with its own name and camp chance.
QByteArray PersonalityFileNamed(const QByteArray& name, const QByteArray& campChance = "50")
{
    QList<QByteArray> lines;
    for (const char* line : NewPersonalityLines)
        lines << line;
    lines[0] = name;
    lines[3] = campChance;
    return CrLfLines(lines);
}

// How a refusal tells the way out.
const QString F5Hint(". Press F5 to load it from disk; saves go ahead once it has loaded completely.");

QString PathOf(const QString& mod, int number)
{
    return mod + "/bot" + QString::number(number) + "/personality.txt";
}

} // namespace

// The personality page inside the running main window: what loads and saves
// do to the files, the page and the boxes the user sees.
class PersonalityFormTest : public QObject, ProgramSession {
    Q_OBJECT

    void MoveOverPage()
    {
        Guarded([this] { form->PersonalityTabMouseMove(); });
    }

    // A check box toggled as the user toggles it: an edit of the page's.
    void ToggleBotCanHear()
    {
        form->BotCanHear->SetChecked(!form->BotCanHear->Checked());
        NoteUserEdit(*form->BotCanHear);
    }

    void TypeIntoNumber(const QString& keys)
    {
        QLineEdit* number = form->CurrentPersonalityNumber;
        number->setFocus();
        number->selectAll();
        QTest::keyClicks(number, keys);
    }

private slots:
    void initTestCase() { PrepareApplication(); }

    void cleanup() { Stop(); }

    void startWithoutPersonalityOneCreatesItOnce()
    {
        game = ScratchGameFolder::WithSampleMods();
        QVERIFY(QDir("cstrike/bot1").removeRecursively());
        Start();
        QCOMPARE(seam->boxes,
                 QStringList{"notice: No personality number 1 - creating a default personality"});
        QCOMPARE(ReadBytes(PathOf("cstrike", 1)), NewPersonalityFile());
        QCOMPARE(form->Name->Text(), QString("Bot"));
        QCOMPARE(form->CampChance->text(), QString("50"));
        QCOMPARE(form->PreferredTeamComboBox->SelectedIndex(), 2);
        QCOMPARE(form->ModToEditComboBox->Text(), QString("Counter-Strike"));
        QCOMPARE(form->ChatTypeComboBox->Text(), QString("New Round"));
        QCOMPARE(form->CurrentPersonalityNumber->text(), QString("1"));
    }

    void startWithoutCounterStrikeStillOpensTheWindow()
    {
        game = std::make_unique<ScratchGameFolder>();
        Start();
        // Each page fails on its own, and the start goes on after each.
        QCOMPARE(seam->boxes,
                 (QStringList{"notice: No personality number 1 - creating a default personality",
                              "error: Invalid filename.\ncstrike/bot1/personality.txt",
                              "error: Invalid filename.\ncstrike/chat/newround.txt"}));
        QVERIFY(!QFileInfo::exists("cstrike"));
        QCOMPARE(form->ModFolder, QString("cstrike"));
        QCOMPARE(form->ModToEditComboBox->Text(), QString("Counter-Strike"));
        QCOMPARE(form->ChatTypeComboBox->SelectedIndex(), 0);
        QCOMPARE(form->PreferredTeamComboBox->SelectedIndex(), 2);
        // The page keeps its start values.
        QCOMPARE(form->Name->Text(), QString("default"));
        QCOMPARE(form->CampChance->text(), QString("100"));
        QCOMPARE(form->MinReloadTime->Text(), QString("5"));

        // Every save of an edit fails the same way, and creates nothing.
        ToggleBotCanHear();
        MoveOverPage();
        QCOMPARE(seam->boxes.last(), QString("error: Invalid filename.\ncstrike/bot1/personality.txt"));
        QVERIFY(!QFileInfo::exists("cstrike"));
    }

    void choosingANumberShowsThatPersonality()
    {
        StartInSampleGame();
        WriteBytes(PathOf("cstrike", 3), PersonalityFileNamed("Viper", "35"));
        Guarded([&] { form->CurrentPersonalityNumber->StepUp(); });
        Guarded([&] { form->CurrentPersonalityNumber->StepUp(); });
        QCOMPARE(form->Name->Text(), QString("Viper"));
        QCOMPARE(form->CampChance->text(), QString("35"));
        QVERIFY(seam->boxes.isEmpty());
    }

    void savingWritesThePageIntoTheShownNumber()
    {
        StartInSampleGame();
        WriteBytes(PathOf("cstrike", 3), PersonalityFileNamed("Viper", "35"));
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(3); });
        form->CampChance->SetValue(80);
        form->PreferredTeamComboBox->SetSelectedIndex(0);
        NoteUserEdit(*form->PreferredTeamComboBox);
        const QByteArray personalityTwo = ReadBytes(PathOf("cstrike", 2));
        MoveOverPage();

        QList<QByteArray> expected = ReadBytes(PathOf("cstrike", 3)).split('\n');
        QCOMPARE(expected.value(3), QByteArray("80\r"));
        QCOMPARE(expected.value(28), QByteArray("1\r"));
        QCOMPARE(expected.value(0), QByteArray("Viper\r"));
        QCOMPARE(ReadBytes(PathOf("cstrike", 2)), personalityTwo);
        QVERIFY(seam->boxes.isEmpty());
    }

    void missingNumberIsAnnouncedBeforeAnythingIsCreated_data()
    {
        QTest::addColumn<bool>("folderExists");
        QTest::newRow("no folder") << false;
        QTest::newRow("empty folder") << true;
    }

    void missingNumberIsAnnouncedBeforeAnythingIsCreated()
    {
        QFETCH(bool, folderExists);
        StartInSampleGame();
        if (folderExists)
            QVERIFY(QDir().mkdir("cstrike/bot9"));
        bool createdBeforeNotice = true;
        QString nameDuringNotice;
        seam->whileOpen = [&] {
            createdBeforeNotice = QFileInfo::exists(PathOf("cstrike", 9))
                                  || QFileInfo::exists("cstrike/bot9") != folderExists;
            nameDuringNotice = form->Name->Text();
        };
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(9); });
        QCOMPARE(seam->boxes,
                 QStringList{"notice: No personality number 9 - creating a default personality"});
        QVERIFY(!createdBeforeNotice);
        QCOMPARE(nameDuringNotice, QString("Kestrel"));
        QCOMPARE(ReadBytes(PathOf("cstrike", 9)), NewPersonalityFile());
        QCOMPARE(form->Name->Text(), QString("Bot"));
        QCOMPARE(form->MaxReloadTime->Text(), QString("7"));
    }

    // Digits apply when the user is done: at Return, Tab or a click
    // elsewhere; an arrow at once. A number without a file asks first, and
    // not creating puts back the number shown before. No number on the way,
    // nor one the user refused, leaves a folder.
    void typingANumberLoadsOnlyTheNumberMeant_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("done"); // "return", "tab", "click", "up", "" (not yet)
        QTest::addColumn<bool>("create");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("boxes");
        const QString ask = "confirm: No personality number %1 - create a default personality? [Create|Don't Create]";
        QTest::newRow("return") << "3" << "return" << false << "3" << "Rookie_Pim" << QStringList{};
        QTest::newRow("tab") << "4" << "tab" << false << "4" << "Ironvale" << QStringList{};
        QTest::newRow("click elsewhere") << "2" << "click" << false << "2" << "Dustwalker" << QStringList{};
        QTest::newRow("not done yet") << "3" << "" << false << "3" << "Kestrel" << QStringList{};
        QTest::newRow("arrow after typing") << "2" << "up" << false << "3" << "Rookie_Pim" << QStringList{};
        QTest::newRow("missing, create") << "25" << "return" << true << "25" << "Bot" << QStringList{ask.arg(25)};
        QTest::newRow("missing, don't create") << "33" << "return" << false << "1" << "Kestrel" << QStringList{ask.arg(33)};
        QTest::newRow("clamped, create") << "150" << "tab" << true << "100" << "Bot" << QStringList{ask.arg(100)};
        QTest::newRow("arrow to a missing number") << "5" << "up" << false << "1" << "Kestrel" << QStringList{ask.arg(6)};
        QTest::newRow("pasted beyond integers") << "paste" << "return" << false << "1" << "Kestrel" << QStringList{ask.arg(100)};
    }

    void typingANumberLoadsOnlyTheNumberMeant()
    {
        QFETCH(QString, typed);
        QFETCH(QString, done);
        QFETCH(bool, create);
        QFETCH(QString, shown);
        QFETCH(QString, name);
        QFETCH(QStringList, boxes);
        StartInSampleGame();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        const QStringList folders = QDir("cstrike").entryList({"bot*"});
        seam->firstAnswerGiven = create;
        if (typed == "paste") {
            QGuiApplication::clipboard()->setText(" 99999999999");
            TypeIntoNumber("");
            QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_V, Qt::ControlModifier);
        } else {
            TypeIntoNumber(typed);
        }
        if (done == "return")
            QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Return);
        else if (done == "tab")
            QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Tab);
        else if (done == "click")
            form->Name->setFocus(Qt::MouseFocusReason);
        else if (done == "up")
            QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Up);

        QCOMPARE(form->CurrentPersonalityNumber->text(), shown);
        QCOMPARE(form->Name->Text(), name);
        QStringList expectedFolders = folders;
        if (create)
            expectedFolders << "bot" + shown;
        expectedFolders.sort();
        QStringList nowFolders = QDir("cstrike").entryList({"bot*"});
        nowFolders.sort();
        QCOMPARE(nowFolders, expectedFolders);
        // A save goes to the personality shown, not to digits still typed.
        MoveOverPage();
        QCOMPARE(seam->boxes, boxes);
    }

    void emptyingTheNumberLoadsPersonalityOne()
    {
        StartInSampleGame();
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(4); });
        QVERIFY(form->Name->Text() != "Kestrel");
        TypeIntoNumber("");
        QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Backspace);
        QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Return);
        QCOMPARE(form->CurrentPersonalityNumber->text(), QString());
        QCOMPARE(form->Name->Text(), QString("Kestrel"));
        QVERIFY(seam->boxes.isEmpty());
    }

    void arrowsAtTheEndsLoadNothing()
    {
        StartInSampleGame();
        form->Name->SetText("edited");
        Guarded([&] { form->CurrentPersonalityNumber->StepDown(); });
        QCOMPARE(form->CurrentPersonalityNumber->text(), QString("1"));
        QCOMPARE(form->Name->Text(), QString("edited"));
    }

    void changingANumberDiscardsUnsavedEdits()
    {
        StartInSampleGame();
        const QByteArray personalityOne = ReadBytes(PathOf("cstrike", 1));
        form->Skill->SetValue(5);
        Guarded([&] { form->CurrentPersonalityNumber->StepUp(); });
        Guarded([&] { form->CurrentPersonalityNumber->StepDown(); });
        QCOMPARE(ReadBytes(PathOf("cstrike", 1)), personalityOne);
        QCOMPARE(form->Skill->text(), QString("2"));
    }

    void otherControlsLoadAndSaveNothing()
    {
        StartInSampleGame();
        const QByteArray personalityOne = ReadBytes(PathOf("cstrike", 1));
        form->PreferredTeamComboBox->setFocus();
        QTest::keyClick(form->PreferredTeamComboBox, Qt::Key_Down);
        QCOMPARE(form->PreferredTeamComboBox->SelectedIndex(), 1);
        QTest::keyClicks(form->Skill, "4");
        QTest::mouseClick(form->BotCanHear, Qt::LeftButton);
        QCOMPARE(ReadBytes(PathOf("cstrike", 1)), personalityOne);
        QVERIFY(seam->boxes.isEmpty());
    }

    // A load that stops part-way leaves a mixture of two personalities on the
    // page; saving it would destroy the rest of the file.
    void partlyReadFileIsNotOverwritten()
    {
        StartInSampleGame();
        QByteArray broken = PersonalityFileNamed("Broken", "60");
        broken.replace("\r\n50\r\n50\r\n50\r\n50\r\n100\r\n", "\r\n50\r\nlots\r\n50\r\n50\r\n100\r\n");
        WriteBytes(PathOf("cstrike", 3), broken);
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(3); });
        QCOMPARE(seam->boxes, QStringList{"error: 'lots' is not a valid integer value.\n"
                                          + PathOf("cstrike", 3)});
        QCOMPARE(form->Name->Text(), QString("Broken"));
        QCOMPARE(form->CampChance->text(), QString("60"));
        QCOMPARE(form->Stealthiness->text(), QString("40"));

        MoveOverPage();
        QCOMPARE(seam->boxes.size(), 1);
        ToggleBotCanHear();
        MoveOverPage();
        QCOMPARE(seam->boxes.last(),
                 "error: " + QDir::toNativeSeparators(PathOf("cstrike", 3))
                     + " was not saved: it could not be read completely" + F5Hint);
        MoveOverPage();
        MoveOverPage();
        QCOMPARE(seam->boxes.size(), 2);
        QCOMPARE(ReadBytes(PathOf("cstrike", 3)), broken);

        // Once the file reads completely again, saves go ahead; the refused
        // edit is given up for the load.
        WriteBytes(PathOf("cstrike", 3), PersonalityFileNamed("Mended"));
        seam->firstAnswerGiven = true;
        Guarded([&] { form->CurrentPersonalityNumber->StepDown(); });
        seam->firstAnswerGiven = false;
        Guarded([&] { form->CurrentPersonalityNumber->StepUp(); });
        form->Courage->SetValue(99);
        NoteUserEdit(*form->Courage);
        MoveOverPage();
        QCOMPARE(seam->boxes.size(), 3);
        QCOMPARE(ReadBytes(PathOf("cstrike", 3)).split('\n').value(10), QByteArray("99\r"));
    }

    void aSecondFailedLoadIsReportedAgain()
    {
        StartInSampleGame();
        WriteBytes(PathOf("cstrike", 3), "Broken\r\nfive\r\n");
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(3); });
        ToggleBotCanHear();
        MoveOverPage();
        seam->firstAnswerGiven = true;
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(2); });
        seam->firstAnswerGiven = false;
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(3); });
        ToggleBotCanHear();
        MoveOverPage();
        MoveOverPage();
        const QString refusal = "error: " + QDir::toNativeSeparators(PathOf("cstrike", 3))
                                + " was not saved: it could not be read completely" + F5Hint;
        const QString failure = "error: 'five' is not a valid integer value.\n" + PathOf("cstrike", 3);
        QCOMPARE(seam->boxes.size(), 5);
        QVERIFY2(seam->boxes.at(2).startsWith("question: "), qPrintable(seam->boxes.at(2)));
        seam->boxes.removeAt(2);
        QCOMPARE(seam->boxes, (QStringList{failure, refusal, failure, refusal}));
        QCOMPARE(ReadBytes(PathOf("cstrike", 3)), QByteArray("Broken\r\nfive\r\n"));
    }

    void unreadablePersonalityIsKeptUntilF5LoadsItMended_data()
    {
        QTest::addColumn<QString>("inPlace"); // of the file: "" for one that fails part-way
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("failure");
        const QString path = "\n" + QDir::toNativeSeparators(PathOf("cstrike", 3));
        QByteArray linuxLines = PersonalityFileNamed("Linux");
        linuxLines.replace("\r\n", "\n").replace("\n50\n", "\nlots\n");
        QTest::newRow("lines ending in LF alone")
            << "" << linuxLines << "error: 'lots' is not a valid integer value." + path;
        QTest::newRow("ending early") << "" << QByteArray("Short\r\n3\r\n0.5\r\n")
                                      << "error: The personality ends early: the file stops "
                                         "after its line 3, and a personality takes 29 lines." + path;
        QTest::newRow("a pipe") << "pipe" << QByteArray()
                                << "error: " + PathOf("cstrike", 3) + " is a pipe, not a file the editor can read.";
        // Not a missing personality, whose creation would fail.
        QTest::newRow("a folder") << "folder" << QByteArray()
                                  << "error: " + PathOf("cstrike", 3) + " is a folder, not a file the editor can read.";
    }

    // Whatever stops the load, the file stays as it is, the tab says from
    // the load on that the page does not save, and F5 loads the file again
    // once it is put right.
    void unreadablePersonalityIsKeptUntilF5LoadsItMended()
    {
        QFETCH(QString, inPlace);
        QFETCH(QByteArray, content);
        QFETCH(QString, failure);
        StartInSampleGame();
        const QString path = PathOf("cstrike", 3);
        QVERIFY(QFile::remove(path));
        if (inPlace == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
        else if (inPlace == "folder")
            QVERIFY(QDir().mkdir(path));
        else
            WriteBytes(path, content);
        ::alarm(20); // a pipe must never block the load
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(3); });
        ::alarm(0);
        QCOMPARE(seam->boxes, QStringList{failure});
        const QString refusal = QDir::toNativeSeparators(path)
                                + " was not saved: it could not be read completely" + F5Hint;
        QCOMPARE(form->PageControl->tabText(0), QString("Personality Editor (not saved)"));
        QCOMPARE(form->PageControl->tabToolTip(0), refusal);

        ToggleBotCanHear();
        MoveOverPage();
        MoveOverPage();
        QCOMPARE(seam->boxes.mid(1), QStringList{"error: " + refusal});
        QCOMPARE(form->PageControl->tabText(0), QString("Personality Editor * (not saved)"));
        QCOMPARE(form->PageControl->tabToolTip(0), refusal);
        if (inPlace.isEmpty())
            QCOMPARE(ReadBytes(path), content);
        else
            QVERIFY(!QFileInfo(path).isFile());

        QVERIFY(inPlace == "folder" ? QDir().rmdir(path) : QFile::remove(path));
        WriteBytes(path, PersonalityFileNamed("Mended"));
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTest::keyClick(form, Qt::Key_F5);
        QCOMPARE(form->Name->Text(), QString("Mended"));
        QCOMPARE(form->PageControl->tabText(0), QString("Personality Editor"));
        form->Courage->SetValue(99);
        NoteUserEdit(*form->Courage);
        MoveOverPage();
        QCOMPARE(ReadBytes(path).split('\n').value(10), QByteArray("99\r"));
        QCOMPARE(seam->boxes.size(), 2);
    }

    void aPipeAmongThePersonalitiesDoesNotBlockStartUp_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("pipe");  // else 2 GiB of zeros
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("a pipe") << 2 << true
                                << QStringList{"error: " + PathOf("cstrike", 2)
                                               + " is a pipe, not a file the editor can read."};
        QTest::newRow("2 GiB in the roster") << 2 << false << QStringList{};
        QTest::newRow("2 GiB as the first personality")
            << 1 << false
            << QStringList{"error: cstrike/bot1/personality.txt was not read: it is larger than "
                           "16 MiB, which no file of the bot ever is."};
    }

    // The roster reads every personality at start-up, and the page loads the
    // first: a pipe among them is refused at once, a huge file is neither
    // read whole nor held up for, and the window still opens.
    void aPipeAmongThePersonalitiesDoesNotBlockStartUp()
    {
        QFETCH(int, number);
        QFETCH(bool, pipe);
        QFETCH(QStringList, boxes);
        game = ScratchGameFolder::WithSampleMods();
        const QByteArray path = QFile::encodeName(PathOf("cstrike", number));
        if (pipe) {
            QVERIFY(QFile::remove(PathOf("cstrike", number)));
            QCOMPARE(::mkfifo(path.constData(), 0666), 0);
        } else {
            QCOMPARE(::truncate(path.constData(), 0), 0);
            QCOMPARE(::truncate(path.constData(), qint64(2) << 30), 0);
        }
        QElapsedTimer timer;
        timer.start();
        ::alarm(20);
        Start();
        ::alarm(0);
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(seam->boxes, boxes);
        if (number != 1)
            QCOMPARE(form->Name->Text(), QString("Kestrel"));
    }

    void modChangeLoadsPersonalityOneOfTheNewMod()
    {
        StartInSampleGame();
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(5); });
        PickWithKeyboard(*form->ModToEditComboBox, 3);
        QCOMPARE(form->ModFolder, QString("tfc"));
        QCOMPARE(form->CurrentPersonalityNumber->text(), QString("1"));
        QCOMPARE(form->Name->Text(), QString("Wrench"));
        QVERIFY(seam->boxes.isEmpty());
    }

    // The number's own handler fails first; the change's own load of the
    // personality would only report that again, and the other pages load.
    void failureInTheNumberHandlerIsShownOnceAndTheOtherPagesLoad()
    {
        game = ScratchGameFolder::WithSampleMods();
        WriteBytes(PathOf("tfc", 1), "Wrench\r\nthree\r\n");
        Start();
        Guarded([&] { form->CurrentPersonalityNumber->SetValue(4); });
        PickWithKeyboard(*form->ModToEditComboBox, 3);
        QCOMPARE(form->ModFolder, QString("tfc"));
        QCOMPARE(seam->boxes, QStringList{"error: 'three' is not a valid integer value.\n"
                                          + PathOf("tfc", 1)});
        QCOMPARE(form->MaxBots->Text(), QString("8"));
        QVERIFY(form->ChatEditMemo->Text().startsWith("Engineers"));
    }

    // The mod's folder is missing: the pages keep showing Counter-Strike, so
    // the selector goes back to it, and nothing is created.
    void modWithoutFolderChangesNothing_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::newRow("from the list") << false;
        QTest::newRow("by typing its name") << true;
    }

    void modWithoutFolderChangesNothing()
    {
        QFETCH(bool, typed);
        game = ScratchGameFolder::WithSampleMods();
        QVERIFY(QDir("opfor").removeRecursively());
        Start();
        QTest::keyClicks(form->Name, "x");
        const QString shownName = form->Name->Text();
        if (typed) {
            form->ModToEditComboBox->lineEdit()->selectAll();
            QTest::keyClicks(form->ModToEditComboBox->lineEdit(), "Half-Life: Opposing Force");
        } else {
            PickWithKeyboard(*form->ModToEditComboBox, 2);
        }
        QCOMPARE(seam->boxes, QStringList{"error: There is no folder opfor for Half-Life: "
                                          "Opposing Force in the game folder "
                                          + QDir::currentPath()
                                          + "; the pages still show Counter-Strike."});
        QCOMPARE(form->ModFolder, QString("cstrike"));
        QCOMPARE(form->ModToEditComboBox->SelectedIndex(), 0);
        QCOMPARE(form->ModToEditComboBox->Text(), QString("Counter-Strike"));
        QCOMPARE(form->Name->Text(), shownName);
        QVERIFY(!QFileInfo::exists("opfor"));
        // Nothing was saved or loaded (typing saved at its first letters).
        QCOMPARE(form->PersonalitySaveGuard.HasUserEdits(), !typed);
        MoveOverPage();
        QCOMPARE(seam->boxes.size(), 1);
        QVERIFY(ReadBytes(PathOf("cstrike", 1)).startsWith(shownName.toLatin1() + "\r\n"));
    }
};

QTEST_MAIN(PersonalityFormTest)
#include "tst_personalityform.moc"
