#include "output/xlsxfile.h"

#include <QFile>
#include <xlsxwriter.h>

bool WriteTextWorkbook(const QString& path, const QString& sheetName, int rows, int cols,
                       const std::function<QString(int row, int col)>& text, QString* error) {
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows are written in order: little memory for big sheets
    lxw_workbook* workbook = workbook_new_opt(file.constData(), &options);
    if (!workbook)
        return fail(QStringLiteral("cannot create %1").arg(path));
    // Sheet names: at most 31 characters, none of []:*?/\ .
    QString name = sheetName;
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        name.replace(c, u'_');
    name = name.left(31);
    lxw_worksheet* sheet =
        workbook_add_worksheet(workbook, name.isEmpty() ? nullptr : name.toUtf8().constData());
    bool ok = sheet != nullptr;
    for (int r = 0; ok && r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const QString value = text(r, c);
            if (value.isEmpty())
                continue;
            if (worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), value.toUtf8().constData(),
                                       nullptr) != LXW_NO_ERROR) {
                ok = false;
                break;
            }
        }
    }
    const lxw_error closed = workbook_close(workbook);
    if (!ok)
        return fail(QStringLiteral("cannot write the cells of %1").arg(path));
    if (closed != LXW_NO_ERROR)
        return fail(QStringLiteral("cannot write %1: %2").arg(path, QString::fromUtf8(lxw_strerror(closed))));
    return true;
}
