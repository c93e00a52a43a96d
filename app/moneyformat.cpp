#include "app/helpers.h"

#include <charconv>
#include <cmath>
#include <string>

// The value is first written with 18 significant digits, the decimal form a
// person reads for it, and that decimal form is rounded half away from zero to
// two decimals; so 2.01/2 gives 1.01 although its binary value lies just below
// 1.005. The digit arithmetic works for any magnitude of the format.
QString FormatMoney(long double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    constexpr int kSignificant = 18;
    // "d.ddddddddddddddddde±x", locale-independent.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, kSignificant - 1);
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            digits += *p;
    }
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), written.ptr, exponent);

    // The value in hundredths is digits × 10^shift.
    const int shift = exponent + 2 - (kSignificant - 1);
    std::string hundredths;
    if (shift >= 0) {
        hundredths = digits + std::string(static_cast<std::size_t>(shift), '0');
    } else {
        const int kept = kSignificant + shift; // digits left of the rounding point
        const bool roundUp = kept >= 0 && digits[static_cast<std::size_t>(kept)] >= '5';
        hundredths = kept > 0 ? digits.substr(0, static_cast<std::size_t>(kept)) : std::string("0");
        if (roundUp) {
            auto i = hundredths.size();
            while (i > 0 && hundredths[i - 1] == '9')
                hundredths[--i] = '0';
            if (i == 0)
                hundredths.insert(hundredths.begin(), '1');
            else
                ++hundredths[i - 1];
        }
    }
    const auto firstNonZero = hundredths.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return QStringLiteral("0.00");
    hundredths.erase(0, firstNonZero);
    if (hundredths.size() < 3)
        hundredths.insert(0, 3 - hundredths.size(), '0');
    hundredths.insert(hundredths.size() - 2, 1, '.');
    if (value < 0)
        hundredths.insert(0, 1, '-');
    return QString::fromLatin1(hundredths.data(), static_cast<qsizetype>(hundredths.size()));
}
