#include "ChatHelp.h"
#include "GameFolder.h"
#include "PersonalityHelp.h"
#include "ProgramStart.h"
#include "ProgramSession.h"
#include "main.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

enum class Help { Chat, Personality };

// One paragraph of a help text: its lines and the empty lines before it.
struct Paragraph {
    QStringList lines;
    int emptyLinesBefore = 0;
};

// Paragraphs are set off by empty lines; a line that opens with `opensOwn`
// starts a paragraph of its own even without one.
QList<Paragraph> ParagraphsOf(const QString& text, const QString& opensOwn = QString())
{
    QList<Paragraph> paragraphs;
    int emptyLines = 0;
    bool inParagraph = false;
    for (const QString& line : text.split(u'\n')) {
        if (line.isEmpty()) {
            ++emptyLines;
            inParagraph = false;
            continue;
        }
        if (!inParagraph || (!opensOwn.isEmpty() && line.startsWith(opensOwn))) {
            paragraphs.append({{}, emptyLines});
            inParagraph = true;
        }
        paragraphs.last().lines << line;
        emptyLines = 0;
    }
    return paragraphs;
}

} // namespace

Q_DECLARE_METATYPE(Help)

// The two help windows as the program start creates them, beside the main
// window.
class HelpWindowsTest : public QObject, ProgramSession {
    Q_OBJECT


    static THelpWindow* Window(Help help)
    {
        return help == Help::Chat ? static_cast<THelpWindow*>(ChatHelpForm)
                                  : static_cast<THelpWindow*>(PersonalityHelpForm);
    }

    static QPlainTextEdit* TextArea(Help help)
    {
        return help == Help::Chat ? ChatHelpForm->ChatFileHelpMemo
                                  : PersonalityHelpForm->PersonalityFileHelpMemo;
    }

    void Show(Help help)
    {
        if (help == Help::Chat)
            form->ChatHelpButtonClick();
        else
            form->PersonalityHelpButtonClick();
    }

    static void AddRowsForBoth()
    {
        QTest::addColumn<Help>("help");
        QTest::newRow("chat") << Help::Chat;
        QTest::newRow("personality") << Help::Personality;
    }

private slots:
    void initTestCase() { PrepareApplication(); }

    void init()
    {
        StartInSampleGame();
    }

    void cleanup() { Stop(); }

    void helpWindowsAreCreatedHiddenWithTheirFrames_data()
    {
        QTest::addColumn<Help>("help");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("clientSize");
        QTest::newRow("chat") << Help::Chat << "Chat File Help" << QSize(458, 326);
        QTest::newRow("personality") << Help::Personality << "Personality Help"
                                     << QSize(545, 456);
    }

    void helpWindowsAreCreatedHiddenWithTheirFrames()
    {
        QFETCH(Help, help);
        QFETCH(QString, caption);
        QFETCH(QSize, clientSize);
        QWidget* window = Window(help);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->minimumSize(), clientSize);
        QCOMPARE(window->maximumSize(), clientSize);
        QCOMPARE(window->font().pixelSize(), 11);
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }

    void controlsOfTheHelpWindows_data()
    {
        QTest::addColumn<Help>("help");
        QTest::addColumn<QRect>("textArea");
        QTest::addColumn<QRect>("button");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<Qt::ScrollBarPolicy>("scrollBar");
        QTest::newRow("chat") << Help::Chat << QRect(1, 1, 455, 295) << QRect(121, 300, 221, 25)
                              << true << Qt::ScrollBarAlwaysOff;
        QTest::newRow("personality") << Help::Personality << QRect(3, 1, 539, 428)
                                     << QRect(161, 431, 221, 25) << false
                                     << Qt::ScrollBarAlwaysOn;
    }

    void controlsOfTheHelpWindows()
    {
        QFETCH(Help, help);
        QFETCH(QRect, textArea);
        QFETCH(QRect, button);
        QFETCH(bool, readOnly);
        QFETCH(Qt::ScrollBarPolicy, scrollBar);
        QPlainTextEdit* area = TextArea(help);
        QCOMPARE(area->parentWidget(), Window(help));
        QCOMPARE(area->geometry(), textArea);
        QCOMPARE(area->isReadOnly(), readOnly);
        QCOMPARE(area->verticalScrollBarPolicy(), scrollBar);
        QCOMPARE(area->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(area->font().pixelSize(), 11);
        QPushButton* exit = Window(help)->ExitButton;
        QCOMPARE(exit->parentWidget(), Window(help));
        QCOMPARE(exit->geometry(), button);
        QCOMPARE(exit->text(), QString("Okay I got it, close this stupid help window!"));
    }

    void focusStartsOnTheFirstControlAndTabMovesOn_data()
    {
        QTest::addColumn<Help>("help");
        QTest::addColumn<bool>("buttonFirst");
        QTest::newRow("chat") << Help::Chat << true;
        QTest::newRow("personality") << Help::Personality << false;
    }

    void focusStartsOnTheFirstControlAndTabMovesOn()
    {
        QFETCH(Help, help);
        QFETCH(bool, buttonFirst);
        QWidget* first = buttonFirst ? static_cast<QWidget*>(Window(help)->ExitButton)
                                     : TextArea(help);
        QWidget* second = buttonFirst ? static_cast<QWidget*>(TextArea(help))
                                      : Window(help)->ExitButton;
        Show(help);
        QVERIFY(QTest::qWaitForWindowActive(Window(help)));
        QCOMPARE(QApplication::focusWidget(), first);
        QTest::keyClick(first, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), second);
        QTest::keyClick(second, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), first);
        // Escape closes it as its button does.
        QTest::keyClick(first, Qt::Key_Escape);
        QVERIFY(!Window(help)->isVisible());
    }

    void theChatHelpRefusesTyping()
    {
        Show(Help::Chat);
        QPlainTextEdit* area = TextArea(Help::Chat);
        const QString text = area->toPlainText();
        area->setFocus();
        QTest::keyClicks(area, "typed");
        QTest::keyClick(area, Qt::Key_Return);
        QTest::keyClick(area, Qt::Key_Delete);
        QTest::keyClick(area, Qt::Key_Backspace);
        QCOMPARE(area->toPlainText(), text);
    }

    void textTypedIntoThePersonalityHelpStaysWhileTheProgramRuns()
    {
        Show(Help::Personality);
        QPlainTextEdit* area = TextArea(Help::Personality);
        area->setFocus();
        QTest::keyClicks(area, "my note");
        QTest::mouseClick(PersonalityHelpForm->ExitButton, Qt::LeftButton);
        QVERIFY(!PersonalityHelpForm->isVisible());
        Show(Help::Personality);
        QVERIFY(area->toPlainText().startsWith("my note"));
    }

    void eachHelpWindowExistsOnce_data() { AddRowsForBoth(); }

    void eachHelpWindowExistsOnce()
    {
        QFETCH(Help, help);
        form->show();
        Show(help);
        Show(help);
        Window(help)->hide();
        Show(help);
        Show(help);
        QVERIFY(Window(help)->isVisible());
        QVERIFY(!Window(help)->isModal());
        int instances = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            instances += window->metaObject() == Window(help)->metaObject() ? 1 : 0;
        QCOMPARE(instances, 1);
    }

    void bothHelpWindowsShowBesideTheMainWindow()
    {
        form->show();
        Show(Help::Chat);
        Show(Help::Personality);
        QVERIFY(form->isVisible());
        QVERIFY(ChatHelpForm->isVisible());
        QVERIFY(PersonalityHelpForm->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        // Showing the one behind brings it to the front.
        QVERIFY(QTest::qWaitForWindowActive(PersonalityHelpForm));
        Show(Help::Chat);
        QVERIFY(QTest::qWaitForWindowActive(ChatHelpForm));
    }

    void aHelpWindowIsCentredOnceThenKeepsItsPlace_data() { AddRowsForBoth(); }

    void aHelpWindowIsCentredOnceThenKeepsItsPlace()
    {
        QFETCH(Help, help);
        THelpWindow* window = Window(help);
        Show(help);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QPoint screenCentre = window->screen()->availableGeometry().center();
        QVERIFY((window->frameGeometry().center() - screenCentre).manhattanLength() <= 2);
        window->move(30, 40);
        QTest::mouseClick(window->ExitButton, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        Show(help);
        QCOMPARE(window->pos(), QPoint(30, 40));
    }

    // A close from the window system reaches the platform window, as a
    // window manager's close command or shortcut does. The main window is not
    // shown, so a help window that ended the program would end it here.
    void aCloseFromTheWindowSystemOnlyHides_data() { AddRowsForBoth(); }

    void aCloseFromTheWindowSystemOnlyHides()
    {
        QFETCH(Help, help);
        THelpWindow* window = Window(help);
        Show(help);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->move(50, 60);
        bool accepted = false;
        bool carriedOn = false;
        QTimer::singleShot(0, [&] {
            QCloseEvent close;
            QApplication::sendEvent(window->windowHandle(), &close);
            accepted = close.isAccepted();
            QTimer::singleShot(100, [&] {
                carriedOn = true;
                QApplication::exit(0);
            });
        });
        QApplication::exec();
        QVERIFY(accepted);
        QVERIFY(carriedOn);
        QVERIFY(!window->isVisible());
        Show(help);
        QVERIFY(window->isVisible());
        QCOMPARE(window->pos(), QPoint(50, 60));
    }

    void closingTheMainWindowEndsTheProgramWhileHelpIsShown()
    {
        form->show();
        Show(Help::Chat);
        Show(Help::Personality);
        bool timedOut = false;
        bool mainWindowClosed = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [&] {
            timedOut = true;
            QApplication::exit(2);
        });
        QTimer::singleShot(0, [&] {
            PersonalityHelpForm->close();
            QTimer::singleShot(50, [&] {
                QVERIFY(ChatHelpForm->isVisible());
                mainWindowClosed = true;
                form->close();
            });
        });
        watchdog.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!timedOut);
        // Closing a help window alone did not end it.
        QVERIFY(mainWindowClosed);
    }

    void helpTextLinesAreShortAndBrokenBetweenWords_data() { AddRowsForBoth(); }

    void helpTextLinesAreShortAndBrokenBetweenWords()
    {
        QFETCH(Help, help);
        const QString text = TextArea(help)->toPlainText();
        QCOMPARE(text, help == Help::Chat ? ChatHelpText() : PersonalityHelpText());
        for (const QString& line : text.split(u'\n')) {
            QVERIFY2(line.size() <= 118, qPrintable(line));
            QVERIFY2(line == line.trimmed(), qPrintable(line));
        }
    }

    // Each example shows a chat line, the situation in brackets and what the
    // bot says, each line a paragraph of its own.
    void theChatHelpExplainsTheNameCodeAndRepliesByExample()
    {
        const QList<Paragraph> paragraphs = ParagraphsOf(ChatHelpText());
        QCOMPARE(paragraphs.size(), 10);
        for (const Paragraph& paragraph : paragraphs.mid(1))
            QCOMPARE(paragraph.emptyLinesBefore, 1);
        for (int example : {2, 6}) {
            for (int line = example; line < example + 3; ++line)
                QCOMPARE(paragraphs[line].lines.size(), 1);
        }
        QVERIFY(paragraphs[1].lines.join(' ').contains("%n"));

        const QString taunt = paragraphs[2].lines[0];
        const QString enemy = paragraphs[3].lines[0].section(' ', -1).chopped(1);
        QVERIFY(taunt.startsWith("%n"));
        QVERIFY(paragraphs[3].lines[0].startsWith('('));
        QCOMPARE(paragraphs[4].lines[0], QString(taunt).replace("%n", enemy));

        const QString reply = paragraphs[6].lines[0];
        const QString player = paragraphs[7].lines[0].section(' ', -1).chopped(1);
        QVERIFY(!reply.contains("%n"));
        QCOMPARE(paragraphs[8].lines[0], reply + ' ' + player);
        QVERIFY(paragraphs[5].lines.join(' ').contains("%n"));
        QVERIFY(paragraphs[9].lines.join(' ').contains("100"));
    }

    void thePersonalityHelpTakesTheFieldsInOrder()
    {
        // The opening of each paragraph and the empty lines before it; an
        // empty opening is a paragraph that names no field.
        const QList<QPair<QString, int>> expected{
            {"Name:", 0},
            {"Skill:", 1},
            {"Average Reaction Time:", 1},
            {"Camp Chance:", 1},
            {"Hunt Chance:", 1},
            {"Stealthiness:", 0},
            {"Rush Chance:", 1},
            {"Chat Chance:", 1},
            {"Teamplay Chance:", 1},
            {"Obedience:", 1},
            {"Courage:", 1},
            {"", 2},
            {"Knife Usage:", 1},
            {"Pistol Usage:", 1},
            {"Shotgun Usage:", 1},
            {"SMG Usage:", 1},
            {"Rifle Usage:", 1},
            {"Sniper Rifle Usage:", 1},
            {"Machinegun Usage:", 1},
            {"Grenade Usage:", 1},
            {"Minimum Buy Time:", 2},
            {"Maximum Buy Time:", 1},
            {"Minimum Reload Time:", 1},
            {"Maximum Reload Time:", 1},
            {"Minimum Playing Time:", 1},
            {"Maximum Playing Time:", 1},
            {"Bot Can Hear:", 2},
            {"Bot Can Learn:", 1},
            {"Auto-Adjust Skils:", 1},
            {"NOTE:", 2},
            {"", 2},
        };
        const QList<Paragraph> paragraphs = ParagraphsOf(PersonalityHelpText(), "Stealthiness:");
        QCOMPARE(paragraphs.size(), expected.size());
        for (qsizetype at = 0; at < expected.size(); ++at) {
            const QString& opening = expected[at].first;
            const QString firstLine = paragraphs[at].lines.first();
            if (opening.isEmpty())
                QVERIFY2(!firstLine.section(' ', 0, 0).endsWith(':'), qPrintable(firstLine));
            else
                QVERIFY2(firstLine.startsWith(opening + ' '), qPrintable(firstLine));
            QCOMPARE(paragraphs[at].emptyLinesBefore, expected[at].second);
        }
        QVERIFY(paragraphs.last().lines.join(' ').contains("\"loadbot\""));
    }
};

QTEST_MAIN(HelpWindowsTest)
#include "tst_helpwindows.moc"
