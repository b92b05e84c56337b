#include "EditorTriggers.h"

#include "BenchGame.h"
#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "Failures.h"
#include "HistoryRecorder.h"
#include "TextArea.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabWidget>
#include <QtTest>

#include <stdexcept>

namespace {

// A point of the page that no control covers, in the page's coordinates.
QPoint BackgroundPoint(QWidget& page)
{
    for (int y = page.height() - 2; y > 0; y -= 3) {
        for (int x = page.width() - 2; x > 0; x -= 3) {
            const QPoint point(x, y);
            if (QApplication::widgetAt(page.mapToGlobal(point)) == &page)
                return point;
        }
    }
    throw std::runtime_error("the page shows no background");
}

} // namespace

EditorTriggers::EditorTriggers()
{
    program_.form.show();
    if (!QTest::qWaitForWindowExposed(&program_.form))
        throw std::runtime_error("the main window was not shown");
    qputenv("XDG_STATE_HOME", QFile::encodeName(state_.path()));
    program_.windows.OpenHistory();
}

void EditorTriggers::Enter(const BenchGame& game)
{
    game.Enter();
    TMainForm& form = program_.form;
    RunHandler([&form] {
        form.LoadPersonality();
        form.LoadChat();
    });
}

void EditorTriggers::MoveOverBackground(QWidget& page, QPoint& point)
{
    program_.form.PageControl->setCurrentWidget(&page);
    if (point.isNull())
        point = BackgroundPoint(page);
    QMouseEvent movement(QEvent::MouseMove, point, page.mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&page, &movement);
}

void EditorTriggers::MoveOverPersonalityPage()
{
    MoveOverBackground(*program_.form.PersonalityTab, personalityBackground_);
}

void EditorTriggers::MoveOverBotConfigPage()
{
    MoveOverBackground(*program_.form.BotConfigEditor, botConfigBackground_);
}

void EditorTriggers::ReleaseKeyInChat()
{
    program_.form.PageControl->setCurrentWidget(program_.form.ChatTab);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_E, Qt::NoModifier, QStringLiteral("e"));
    QApplication::sendEvent(program_.form.ChatEditMemo, &release);
}

// A program's set of a control is no edit of the user's, and a trigger
// without one writes nothing; so each change tells the page's guard, as the
// control's report of a user's change does.
void EditorTriggers::ChangePersonality()
{
    BoundedIntegerField& field = *program_.form.CampChance;
    field.SetValue(field.Value() == 50 ? 51 : 50);
    program_.form.PersonalitySaveGuard.UserEdited();
}

void EditorTriggers::ChangeBotConfig()
{
    CheckBoxControl& box = *program_.form.DiscoModeCheckBox;
    box.SetChecked(!box.Checked());
    program_.form.BotConfigSaveGuard.UserEdited();
}

void EditorTriggers::ChangeChat()
{
    // A whole line added or taken away again, so that the text keeps the
    // form a load gives it, every line followed by a line end.
    const QString line = QStringLiteral("!\r\n");
    TextArea& text = *program_.form.ChatEditMemo;
    const QString shown = text.Text();
    text.SetText(shown.endsWith(line) ? shown.chopped(line.size()) : shown + line);
    program_.form.ChatSaveGuard.UserEdited();
}

void EditorTriggers::RecordHistory()
{
    program_.windows.History().RecordWaiting();
}

QString EditorTriggers::Failure() const
{
    const QString history = program_.windows.History().Unavailable();
    return history.isEmpty() ? program_.seam.boxes.value(0) : history;
}
