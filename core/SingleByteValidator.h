#pragma once

#include <QValidator>

// Refuses text with characters that have no single-byte form: such a
// character could not be written to a file unchanged, so the user's typing or
// pasting is refused with a beep instead of being altered later.
class SingleByteValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
};
