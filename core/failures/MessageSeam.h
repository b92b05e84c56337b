#pragma once

#include <QString>

// The one place where the program's message boxes are shown. Tests replace it
// to see and answer the boxes without a modal dialog.
class MessageSeam {
public:
    virtual ~MessageSeam() = default;
    // A stop icon and one OK button; returns when it is closed.
    virtual void ErrorBox(const QString& caption, const QString& text) = 0;
    // The program's own notice box; returns when it is closed.
    virtual void NoticeBox(const QString& caption, const QString& text) = 0;
    // A question with two answers; true for the first, false for the second,
    // which Escape and the close box also give.
    virtual bool QuestionBox(const QString& caption, const QString& text,
                             const QString& firstAnswer, const QString& secondAnswer) = 0;
    // A question about a step the user has just asked for, so the first
    // answer is the default; Escape and the close box still give the second.
    // Seams that answer without showing a box take it as any question.
    virtual bool ConfirmBox(const QString& caption, const QString& text,
                            const QString& firstAnswer, const QString& secondAnswer)
    {
        return QuestionBox(caption, text, firstAnswer, secondAnswer);
    }
    // A question with three answers; 0, 1 or 2 for the answer given. The
    // third is the careful one: the default, and what Escape and the close
    // box give.
    virtual int ChoiceBox(const QString& caption, const QString& text, const QString& firstAnswer,
                          const QString& secondAnswer, const QString& thirdAnswer) = 0;
};

MessageSeam& ActiveMessageSeam();

// Puts another seam in place for as long as it lives.
class ScopedMessageSeam {
public:
    explicit ScopedMessageSeam(MessageSeam& seam);
    ~ScopedMessageSeam();
    ScopedMessageSeam(const ScopedMessageSeam&) = delete;
    ScopedMessageSeam& operator=(const ScopedMessageSeam&) = delete;

private:
    MessageSeam* previous_;
};
