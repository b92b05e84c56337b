#pragma once

#include <QValidator>

class QLineEdit;

// Guards what the user puts into a single-line field. Characters without a
// single-byte form could not be written to a file unchanged, and a Ctrl-Z
// would end the file there, so typing or pasting them is refused with a beep
// instead of being altered later. Of a
// pasted or dropped text with line breaks only the first line is taken: a
// line break in the field would split the file line it is written to.
class SingleByteValidator : public QValidator {
public:
    explicit SingleByteValidator(QLineEdit& field);
    State validate(QString& input, int& position) const override;
    // The program is about to show this text; it is taken as it is.
    void ExpectText(const QString& text);

private:
    // The field's text before the edit being validated; the field itself
    // already shows the edit while it is validated.
    QString textBeforeEdit_;
};
