#include "MessageSeam.h"

#include "BoxKeys.h"
#include "NoticeDialog.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// Real boxes, modal for the whole application.
class DialogMessageSeam : public MessageSeam {
public:
    void ErrorBox(const QString& caption, const QString& text) override
    {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
        box.setWindowModality(Qt::ApplicationModal);
        box.setTextFormat(Qt::PlainText);
        ExecuteBoxNotingHeldKeys(box);
    }

    void NoticeBox(const QString& caption, const QString& text) override
    {
        NoticeDialog notice(caption, text);
        ExecuteBoxNotingHeldKeys(notice);
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
