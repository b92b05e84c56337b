#include "MessageSeam.h"

#include "BoxKeys.h"
#include "NoticeDialog.h"
#include "LinedMessageBox.h"
#include "TitleBarWidth.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Qt sizes a message box by its text; a short text would leave the caption
// cut short in the title bar. The button row spans the whole box, so its
// least width holds the box open.
void WidenForCaption(QMessageBox& box)
{
    auto* buttons = box.findChild<QDialogButtonBox*>();
    if (!buttons || !box.layout())
        return;
    const QMargins margins = box.layout()->contentsMargins();
    buttons->setMinimumWidth(TitleBarWidthFor(box.windowTitle()) - margins.left()
                             - margins.right());
}

// Real boxes, modal for the whole application, each the child of the main
// window (see BoxOwner).
class DialogMessageSeam : public MessageSeam {
public:
    void ErrorBox(const QString& caption, const QString& text) override
    {
        LinedMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, BoxOwner());
        box.setWindowModality(Qt::ApplicationModal);
        WidenForCaption(box);
        ExecuteBoxNotingHeldKeys(box);
    }

    void NoticeBox(const QString& caption, const QString& text) override
    {
        NoticeDialog notice(caption, text, BoxOwner());
        ExecuteBoxNotingHeldKeys(notice);
    }

    // The second answer is the careful one and the default, so that an Enter
    // meant for the window does not take the first.
    bool QuestionBox(const QString& caption, const QString& text, const QString& firstAnswer,
                     const QString& secondAnswer) override
    {
        return Ask(caption, text, {firstAnswer, secondAnswer}, 1) == 0;
    }

    bool ConfirmBox(const QString& caption, const QString& text, const QString& firstAnswer,
                    const QString& secondAnswer) override
    {
        return Ask(caption, text, {firstAnswer, secondAnswer}, 0) == 0;
    }

    int ChoiceBox(const QString& caption, const QString& text, const QString& firstAnswer,
                  const QString& secondAnswer, const QString& thirdAnswer) override
    {
        return Ask(caption, text, {firstAnswer, secondAnswer, thirdAnswer}, 2);
    }

private:
    // The last answer is the one that Escape and the close box give.
    static int Ask(const QString& caption, const QString& text, const QStringList& answers,
                   int defaultAnswer)
    {
        LinedMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton,
                            BoxOwner());
        box.setWindowModality(Qt::ApplicationModal);
        QList<QPushButton*> buttons;
        for (const QString& answer : answers) {
            const bool last = buttons.size() == answers.size() - 1;
            buttons << box.addButton(answer, last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        }
        box.setDefaultButton(buttons.at(defaultAnswer));
        box.setEscapeButton(buttons.last());
        WidenForCaption(box);
        ExecuteBoxNotingHeldKeys(box);
        const qsizetype given = buttons.indexOf(box.clickedButton());
        return static_cast<int>(given < 0 ? answers.size() - 1 : given);
    }
};

DialogMessageSeam dialogSeam;
MessageSeam* activeSeam = &dialogSeam;

} // namespace

MessageSeam& ActiveMessageSeam()
{
    return *activeSeam;
}

ScopedMessageSeam::ScopedMessageSeam(MessageSeam& seam) : previous_(activeSeam)
{
    activeSeam = &seam;
}

ScopedMessageSeam::~ScopedMessageSeam()
{
    activeSeam = previous_;
}
