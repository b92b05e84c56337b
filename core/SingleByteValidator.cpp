#include "SingleByteValidator.h"

#include "Bytes.h"

#include <QApplication>

QValidator::State SingleByteValidator::validate(QString& input, int&) const
{
    if (HasSingleByteForm(input))
        return Acceptable;
    QApplication::beep();
    return Invalid;
}
