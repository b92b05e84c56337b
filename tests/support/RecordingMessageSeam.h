#pragma once

#include "MessageSeam.h"

#include <QString>
#include <QStringList>
#include <functional>

// Records every box instead of showing it. A box is listed as
// "error: <text>" or "notice: <text>" (questions below); an optional callback runs while the
// box would be open, as the user's answer to it.
class RecordingMessageSeam : public MessageSeam {
public:
    RecordingMessageSeam() : scope_(*this) {}

    void ErrorBox(const QString& caption, const QString& text) override
    {
        Record(caption, QStringLiteral("error: ") + text);
    }

    void NoticeBox(const QString& caption, const QString& text) override
    {
        Record(caption, QStringLiteral("notice: ") + text);
    }

    // Listed as "question: <text> [<first answer>|<second answer>]".
    bool QuestionBox(const QString& caption, const QString& text, const QString& firstAnswer,
                     const QString& secondAnswer) override
    {
        Record(caption, QStringLiteral("question: %1 [%2|%3]").arg(text, firstAnswer, secondAnswer));
        return firstAnswerGiven;
    }

    // Listed as "confirm: <text> [<first answer>|<second answer>]", so that
    // a question whose default is its first answer is told from one whose
    // default is the careful second.
    bool ConfirmBox(const QString& caption, const QString& text, const QString& firstAnswer,
                    const QString& secondAnswer) override
    {
        Record(caption, QStringLiteral("confirm: %1 [%2|%3]").arg(text, firstAnswer, secondAnswer));
        return firstAnswerGiven;
    }

    // Listed as "choice: <text> [<first>|<second>|<third>]"; answered with
    // choiceGiven, by default the third, the careful one.
    int ChoiceBox(const QString& caption, const QString& text, const QString& firstAnswer,
                  const QString& secondAnswer, const QString& thirdAnswer) override
    {
        Record(caption, QStringLiteral("choice: %1 [%2|%3|%4]")
                            .arg(text, firstAnswer, secondAnswer, thirdAnswer));
        return choiceGiven;
    }

    QStringList boxes;
    QStringList captions;
    std::function<void()> whileOpen;
    bool firstAnswerGiven = false;
    int choiceGiven = 2;

private:
    void Record(const QString& caption, const QString& box)
    {
        captions << caption;
        boxes << box;
        if (whileOpen)
            whileOpen();
    }

    ScopedMessageSeam scope_;
};
