#pragma once

#include <QString>
#include <cstdint>

// Leading blanks, an optional sign with decimal digits, or a "$", "x", "X",
// "0x", "0X" prefix with up to eight hexadecimal digits taken as 32-bit two's
// complement. Anything else raises EConvertError.
std::int32_t TextToInteger(const QString& text);

// Plain decimal: a minus sign for negative values, no leading zeros.
QString IntegerToText(std::int32_t value);
