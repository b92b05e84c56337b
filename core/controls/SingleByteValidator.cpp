#include "SingleByteValidator.h"

#include "Bytes.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>

namespace {

// Cuts what the edit inserted into `before` at its first line break; the
// cursor stands at the end of the insertion. Line breaks the field already
// held (read from a file) stay as they are.
void KeepFirstLineOfInsertion(const QString& before, QString& input, int& position)
{
    const qsizetype end = std::clamp<qsizetype>(position, 0, input.size());
    const qsizetype suffix = input.size() - end;
    if (suffix > before.size())
        return;
    const qsizetype limit = std::min(end, before.size() - suffix);
    qsizetype start = 0;
    while (start < limit && before[start] == input[start])
        ++start;
    for (qsizetype offset = start; offset < end; ++offset) {
        if (input[offset] == u'\r' || input[offset] == u'\n') {
            input.remove(offset, end - offset);
            position = int(offset);
            return;
        }
    }
}

// Whether the edit puts a Ctrl-Z into the field. One that the program showed
// (none comes from a file, whose reading ends there) stays, so that such a
// text can still be edited.
bool AddsCtrlZ(const QString& before, const QString& input)
{
    constexpr QChar ctrlZ(26);
    return input.count(ctrlZ) > before.count(ctrlZ);
}

} // namespace

SingleByteValidator::SingleByteValidator(QLineEdit& field)
    : QValidator(&field), textBeforeEdit_(field.text())
{
    connect(&field, &QLineEdit::textChanged, this,
            [this](const QString& text) { textBeforeEdit_ = text; });
}

void SingleByteValidator::ExpectText(const QString& text)
{
    textBeforeEdit_ = text;
}

QValidator::State SingleByteValidator::validate(QString& input, int& position) const
{
    KeepFirstLineOfInsertion(textBeforeEdit_, input, position);
    if (HasSingleByteForm(input) && !AddsCtrlZ(textBeforeEdit_, input))
        return Acceptable;
    QApplication::beep();
    return Invalid;
}
