#include "MessageSeam.h"

#include "BoxKeys.h"
#include "NoticeDialog.h"
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
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, BoxOwner());
        box.setWindowModality(Qt::ApplicationModal);
        box.setTextFormat(Qt::PlainText);
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
        return Ask(caption, text, firstAnswer, secondAnswer, false);
    }

    bool ConfirmBox(const QString& caption, const QString& text, const QString& firstAnswer,
                    const QString& secondAnswer) override
    {
        return Ask(caption, text, firstAnswer, secondAnswer, true);
    }

private:
    static bool Ask(const QString& caption, const QString& text, const QString& firstAnswer,
                    const QString& secondAnswer, bool firstIsDefault)
    {
        QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, BoxOwner());
        box.setWindowModality(Qt::ApplicationModal);
        box.setTextFormat(Qt::PlainText);
        QPushButton* first = box.addButton(firstAnswer, QMessageBox::AcceptRole);
        QPushButton* second = box.addButton(secondAnswer, QMessageBox::RejectRole);
        box.setDefaultButton(firstIsDefault ? first : second);
        box.setEscapeButton(second);
        WidenForCaption(box);
        ExecuteBoxNotingHeldKeys(box);
        return box.clickedButton() == first;
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
