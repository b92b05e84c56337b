// Converts any text with TextToInteger and compares the outcome with a
// reference written separately from the grammar: leading blanks, then a sign
// and decimal digits, or a "$", "x", "X", "0x", "0X" prefix and hexadecimal
// digits taken as 32-bit two's complement, or decimal digits. Every value
// also comes back from its IntegerToText.

#include "Bytes.h"
#include "Conversions.h"
#include "Exceptions.h"
#include "FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace {

std::optional<std::int32_t> ReferenceValue(const std::string& text)
{
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return std::nullopt;
    std::string digits = text.substr(start);
    bool negative = false;
    int base = 10;
    if (digits.front() == '-' || digits.front() == '+') {
        negative = digits.front() == '-';
        digits.erase(0, 1);
    } else if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0) {
        base = 16;
        digits.erase(0, 2);
    } else if (digits.front() == '$' || digits.front() == 'x' || digits.front() == 'X') {
        base = 16;
        digits.erase(0, 1);
    }
    const char* allowed = base == 16 ? "0123456789ABCDEFabcdef" : "0123456789";
    if (digits.empty() || digits.find_first_not_of(allowed) != std::string::npos)
        return std::nullopt;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > (base == 16 ? 8u : 10u))
        return std::nullopt;
    const unsigned long long magnitude = std::stoull(digits, nullptr, base);
    if (base == 16)
        return std::int32_t(std::uint32_t(magnitude));
    if (magnitude > (negative ? 2147483648ull : 2147483647ull))
        return std::nullopt;
    return negative ? std::int32_t(-static_cast<long long>(magnitude)) : std::int32_t(magnitude);
}

std::optional<std::int32_t> ConvertedValue(const QString& text)
{
    try {
        return TextToInteger(text);
    } catch (const EConvertError& failure) {
        Require(failure.Message()
                    == QLatin1Char('\'') + text + QStringLiteral("' is not a valid integer value"),
                "a refusal names the whole text", text);
        return std::nullopt;
    }
}

void CheckComesBack(std::int32_t value)
{
    const QString text = IntegerToText(value);
    Require(text == QString::number(value), "IntegerToText is plain decimal", text);
    Require(TextToInteger(text) == value, "a value comes back from its text", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const QString text = BytesToText(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    const std::optional<std::int32_t> converted = ConvertedValue(text);
    const std::optional<std::int32_t> expected = ReferenceValue(bytes);
    Require(converted == expected, "TextToInteger accepts what the grammar accepts, with its value",
            Shown(QByteArray::fromStdString(bytes)));
    if (converted)
        CheckComesBack(*converted);
    if (size >= sizeof(std::int32_t)) {
        std::int32_t raw;
        std::memcpy(&raw, data, sizeof raw);
        CheckComesBack(raw);
    }
    return 0;
}
