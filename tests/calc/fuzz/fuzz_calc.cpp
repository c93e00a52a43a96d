// Feeds arbitrary text to the evaluator as a formula and evaluates it. Beyond
// the sanitizers it checks that an evaluation that does not fail gives a finite
// value, and that the value written "0.00" reads back as the same amount.

#include "app/helpers.h"
#include "app/prompts.h"
#include "calc/calcexpress.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool condition, const char* what, const QString& formula) {
    if (condition)
        return;
    std::fprintf(stderr, "%s: %s\n", what, formula.toUtf8().constData());
    std::abort();
}

bool IsMoneyText(const QString& text) {
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const qsizetype point = text.size() - 3;
    if (point <= i || text[point] != u'.')
        return false;
    for (; i < text.size(); ++i) {
        if (i != point && (text[i] < u'0' || text[i] > u'9'))
            return false;
    }
    return true;
}

void CheckMoneyText(long double value, const QString& formula) {
    const QString text = FormatMoney(value);
    Require(IsMoneyText(text), "FormatMoney wrote no amount", formula);
    // Near the top of the range the 18-digit decimal form may exceed the format.
    if (std::fabs(value) > 1e4931L)
        return;
    TCalcExpress reader;
    reader.setFormula(text);
    long double back = 0;
    try {
        back = reader.Evaluate({});
    } catch (const ECalcError&) {
        Require(false, "the amount text does not read back", formula);
    }
    Require(std::fabs(back - value) <= 0.005L * (1 + 1e-15L) + 1e-17L * std::fabs(value),
            "the amount text is not the rounded value", formula);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool silent = [] {
        SetPromptHandler([](const Prompt&) { return PromptAnswer{}; });
        return true;
    }();
    (void)silent;

    const QString formula = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    TCalcExpress calc;
    calc.setVariables({QStringLiteral("x"), QStringLiteral("Y"), QStringLiteral("_z1")});
    calc.setFormula(formula);
    for (const std::vector<long double>& values :
         {std::vector<long double>{1.5L, -2, 0}, std::vector<long double>{1e300L}}) {
        try {
            const long double value = calc.Evaluate(values);
            Require(std::isfinite(value), "an evaluation gave no finite value", formula);
            CheckMoneyText(value, formula);
        } catch (const ECalcError&) {
        }
    }
    return 0;
}
