#pragma once

#include "MessageSeam.h"

#include <QString>
#include <QStringList>
#include <functional>

// Records every box instead of showing it. A box is listed as
// "error: <text>" or "notice: <text>"; an optional callback runs while the
// box would be open, as the user's answer to it.
class RecordingMessageSeam : public MessageSeam {
public:
    RecordingMessageSeam() : scope_(*this) {}

    void ErrorBox(const QString& caption, const QString& text) override
    {
        captions << caption;
        boxes << QStringLiteral("error: ") + text;
        if (whileOpen)
            whileOpen();
    }

    void NoticeBox(const QString& caption, const QString& text) override
    {
        captions << caption;
        boxes << QStringLiteral("notice: ") + text;
        if (whileOpen)
            whileOpen();
    }

    QStringList boxes;
    QStringList captions;
    std::function<void()> whileOpen;

private:
    ScopedMessageSeam scope_;
};
