#include "output/xlsxfile.h"

#include <QFile>
#include <xlsxwriter.h>

bool WriteTextWorkbook(const QString& path, const TextWorkbook& book, QString* error) {
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
    QByteArray title = book.documentTitle.toUtf8();
    lxw_doc_properties properties{};
    properties.title = title.data(); // only read
    if (!book.documentTitle.isEmpty())
        workbook_set_properties(workbook, &properties);
    // Sheet names: at most 31 characters, none of []:*?/\ .
    QString name = book.sheetName;
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        name.replace(c, u'_');
    name = name.left(31);
    lxw_worksheet* sheet =
        workbook_add_worksheet(workbook, name.isEmpty() ? nullptr : name.toUtf8().constData());
    bool ok = sheet != nullptr;
    QString reason;
    for (int r = 0; ok && r < book.rows; ++r) {
        for (int c = 0; c < book.cols; ++c) {
            const QString value = book.text(r, c);
            if (value.isEmpty())
                continue;
            const lxw_error written = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                                             value.toUtf8().constData(), nullptr);
            if (written != LXW_NO_ERROR) {
                reason = QStringLiteral("cannot write cell (%1, %2) of %3: %4")
                             .arg(r + 1)
                             .arg(c + 1)
                             .arg(path, QString::fromUtf8(lxw_strerror(written)));
                ok = false;
                break;
            }
        }
    }
    const lxw_error closed = workbook_close(workbook);
    if (!ok)
        return fail(reason.isEmpty() ? QStringLiteral("cannot add a sheet to %1").arg(path) : reason);
    if (closed != LXW_NO_ERROR)
        return fail(QStringLiteral("cannot write %1: %2").arg(path, QString::fromUtf8(lxw_strerror(closed))));
    return true;
}

bool WriteTextWorkbook(const QString& path, const QString& sheetName, int rows, int cols,
                       const std::function<QString(int row, int col)>& text, QString* error) {
    return WriteTextWorkbook(path, TextWorkbook{QString(), sheetName, rows, cols, text}, error);
}
