#pragma once
// The statistics period: a first and a last day, both included.

#include <QDate>
#include <QString>

struct StatPeriod {
    QDate first;
    QDate last;

    // "yyyy-MM-dd" of the first day and of the day after the last day: the
    // period runs from the first midnight up to, not including, the last one.
    QString startText() const { return first.toString(QStringLiteral("yyyy-MM-dd")); }
    QString nextText() const { return last.addDays(1).toString(QStringLiteral("yyyy-MM-dd")); }
    // " And OcrDate>=#start# And OcrDate<#next#"
    QString sqlCondition() const {
        return QStringLiteral(" And OcrDate>=#") + startText() + QStringLiteral("# And OcrDate<#") +
               nextText() + u'#';
    }
};

// The whole calendar month before the month of today.
inline StatPeriod DefaultStatPeriod(const QDate& today) {
    const QDate last = QDate(today.year(), today.month(), 1).addDays(-1);
    return {QDate(last.year(), last.month(), 1), last};
}
