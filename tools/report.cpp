// brimsoll-report [--db FILE] --from YYYY-MM-DD --to YYYY-MM-DD [--include-sub]
//                 [--allocation] [--codes] [--output FILE.csv|FILE.xlsx]
//
// Writes the base expense table, or with --allocation the allocation table, of
// a period, laid out exactly as the statistics window lays it out: one CSV row
// per grid row and one field per grid column (RFC 4180, UTF-8), to standard
// output or a file, or an .xlsx sheet with the same cells. --codes keeps the
// hidden code row and column. The messages the window would show go to
// standard error.

#include "app/datamodule.h"
#include "output/xlsxfile.h"
#include "stats/statfill.h"
#include "stats/statlayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

const char Usage[] = "usage: brimsoll-report [--db FILE] --from YYYY-MM-DD --to YYYY-MM-DD [--include-sub]\n"
                     "                       [--allocation] [--codes] [--output FILE.csv|FILE.xlsx]\n";

int Fail(int code, const QString& message) {
    std::fprintf(stderr, "brimsoll-report: %s\n", message.toLocal8Bit().constData());
    if (code == 2)
        std::fputs(Usage, stderr);
    return code;
}

QString CsvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

struct Options {
    QString db;
    QDate from;
    QDate to;
    bool includeSub = false;
    bool allocation = false;
    bool codes = false;
    QString output;
};

// Parses the arguments; an empty error means success.
QString Parse(const QStringList& args, Options& options) {
    QString from, to;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& target) {
            if (i + 1 >= args.size() || args[i + 1].startsWith(QStringLiteral("--")))
                return false;
            target = args[++i];
            return true;
        };
        if (a == QStringLiteral("--db")) {
            if (!value(options.db))
                return QStringLiteral("--db needs a file");
        } else if (a == QStringLiteral("--from")) {
            if (!value(from))
                return QStringLiteral("--from needs a date");
        } else if (a == QStringLiteral("--to")) {
            if (!value(to))
                return QStringLiteral("--to needs a date");
        } else if (a == QStringLiteral("--output")) {
            if (!value(options.output))
                return QStringLiteral("--output needs a file");
        } else if (a == QStringLiteral("--include-sub")) {
            options.includeSub = true;
        } else if (a == QStringLiteral("--allocation")) {
            options.allocation = true;
        } else if (a == QStringLiteral("--codes")) {
            options.codes = true;
        } else {
            return QStringLiteral("unknown option %1").arg(a);
        }
    }
    if (from.isEmpty() || to.isEmpty())
        return QStringLiteral("--from and --to are required");
    options.from = QDate::fromString(from, QStringLiteral("yyyy-MM-dd"));
    options.to = QDate::fromString(to, QStringLiteral("yyyy-MM-dd"));
    if (!options.from.isValid())
        return QStringLiteral("not a date: %1").arg(from);
    if (!options.to.isValid())
        return QStringLiteral("not a date: %1").arg(to);
    const QString suffix = QFileInfo(options.output).suffix().toLower();
    if (!options.output.isEmpty() && suffix != QStringLiteral("csv") && suffix != QStringLiteral("xlsx"))
        return QStringLiteral("the output file must end in .csv or .xlsx: %1").arg(options.output);
    return QString();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brimsoll-report"));
    Options options;
    const QString error = Parse(QCoreApplication::arguments().mid(1), options);
    if (!error.isEmpty())
        return Fail(2, error);
    if (options.db.isEmpty())
        options.db = QCoreApplication::applicationDirPath() + QStringLiteral("/DB/Data.MDB");

    TDM dm;
    DM = &dm;
    if (!dm.Connect(options.db))
        return Fail(1, QStringLiteral("cannot open the database %1: %2").arg(options.db, dm.LastError()));

    const StatPeriod period{options.from, options.to};
    StatTable base;
    if (!LayoutStatTable(base))
        return Fail(1, QStringLiteral("cannot lay out the table"));
    StatTable result;
    if (options.allocation) {
        result = base;
        if (!FillAllocationTable(result, base, period))
            return Fail(1, QStringLiteral("cannot read the formulas"));
    } else {
        if (!FillBaseTable(base, period, options.includeSub))
            return Fail(1, QStringLiteral("cannot read the expense records"));
        result = std::move(base);
    }

    const int skip = options.codes ? 0 : 1;
    const int rows = result.rowCount - skip, cols = result.colCount - skip;
    auto text = [&](int r, int c) { return result.cell(c + skip, r + skip); };
    if (options.output.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        QString reason;
        const QString title =
            options.allocation ? QStringLiteral("费用分摊明细") : QStringLiteral("基本费用统计");
        if (!WriteTextWorkbook(options.output, title, rows, cols, text, &reason))
            return Fail(1, reason);
        return 0;
    }
    QFile out;
    const bool opened = options.output.isEmpty()
                            ? out.open(stdout, QIODevice::WriteOnly)
                            : (out.setFileName(options.output), out.open(QIODevice::WriteOnly));
    if (!opened)
        return Fail(1, QStringLiteral("cannot write %1").arg(options.output));
    QByteArray line;
    for (int r = 0; r < rows; ++r) {
        QStringList fields;
        fields.reserve(cols);
        for (int c = 0; c < cols; ++c)
            fields.append(CsvField(text(r, c)));
        line = fields.join(u',').toUtf8();
        line += "\r\n";
        if (out.write(line) != line.size())
            return Fail(1, QStringLiteral("cannot write %1")
                               .arg(options.output.isEmpty() ? "standard output" : options.output));
    }
    return out.flush() ? 0 : Fail(1, QStringLiteral("cannot write the output"));
}
