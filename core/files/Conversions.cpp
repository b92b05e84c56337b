#include "Conversions.h"

#include "Exceptions.h"

namespace {

int DecimalDigit(QChar character)
{
    const char16_t code = character.unicode();
    return code >= u'0' && code <= u'9' ? int(code - u'0') : -1;
}

int HexadecimalDigit(QChar character)
{
    const char16_t code = character.unicode();
    if (code >= u'0' && code <= u'9')
        return int(code - u'0');
    if (code >= u'A' && code <= u'F')
        return int(code - u'A') + 10;
    if (code >= u'a' && code <= u'f')
        return int(code - u'a') + 10;
    return -1;
}

}  // namespace

std::int32_t TextToInteger(const QString& text)
{
    const qsizetype length = text.size();
    qsizetype at = 0;
    while (at < length && text.at(at) == QLatin1Char(' '))
        ++at;

    bool negative = false;
    bool hexadecimal = false;
    if (at < length && (text.at(at) == QLatin1Char('-') || text.at(at) == QLatin1Char('+'))) {
        negative = text.at(at) == QLatin1Char('-');
        ++at;
    } else if (at < length
               && (text.at(at) == QLatin1Char('$') || text.at(at) == QLatin1Char('x')
                   || text.at(at) == QLatin1Char('X'))) {
        hexadecimal = true;
        ++at;
    } else if (at + 1 < length && text.at(at) == QLatin1Char('0')
               && (text.at(at + 1) == QLatin1Char('x') || text.at(at + 1) == QLatin1Char('X'))) {
        hexadecimal = true;
        at += 2;
    }

    if (at == length)
        throw EConvertError(text);  // no digits at all

    // The magnitude never grows beyond the first value out of range, so it
    // cannot overflow however many digits (leading zeros) follow.
    const std::uint64_t limit = hexadecimal ? 0xFFFFFFFFull
                                : negative  ? 2147483648ull
                                            : 2147483647ull;
    const std::uint64_t base = hexadecimal ? 16 : 10;
    std::uint64_t magnitude = 0;
    for (; at < length; ++at) {
        const int digit = hexadecimal ? HexadecimalDigit(text.at(at)) : DecimalDigit(text.at(at));
        if (digit < 0)
            throw EConvertError(text);
        magnitude = magnitude * base + std::uint64_t(digit);
        if (magnitude > limit)
            throw EConvertError(text);
    }

    if (hexadecimal)  // 32-bit two's complement: FFFFFFFF is -1
        return std::int32_t(std::uint32_t(magnitude));
    return negative ? std::int32_t(-std::int64_t(magnitude)) : std::int32_t(magnitude);
}

QString IntegerToText(std::int32_t value)
{
    return QString::number(value);
}
