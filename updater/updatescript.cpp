#include "updater/updatescript.h"

#include "app/dataset.h"
#include "updater/updatecatalog.h"

namespace {

// Leading and trailing blanks and control characters removed.
QString TrimControls(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= u' ')
        ++first;
    while (last > first && text[last - 1].unicode() <= u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

bool IsSeparatorLine(const QString& line) {
    return TrimControls(line).compare(QStringLiteral("GO"), Qt::CaseInsensitive) == 0;
}

QStringList SplitScript(const QStringList& lines) {
    QStringList statements;
    QString collected;
    const auto take = [&] {
        if (!TrimControls(collected).isEmpty())
            statements.append(collected);
        collected.clear();
    };
    for (const QString& line : lines) {
        if (IsSeparatorLine(line)) {
            take();
        } else {
            collected += line;
            collected += QStringLiteral("\r\n");
        }
    }
    take();
    return statements;
}

int ExeASQLFile(TDM& dm, const QString& fileName) {
    QStringList lines;
    if (!ReadGbkLines(fileName, lines))
        return 0;
    int succeeded = 0;
    for (const QString& statement : SplitScript(lines)) {
        TCommand command(&dm);
        command.setCommandText(statement);
        try {
            command.execute();
            ++succeeded;
        } catch (const EDatabaseError&) {
            // A failing statement is skipped; the script goes on with the next.
        }
    }
    return succeeded;
}
