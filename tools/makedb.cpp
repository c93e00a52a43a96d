// makedb [--if-missing] FILE SCRIPT...
// Creates a database file from SQL scripts (the schema, then the demo data).
// With --if-missing an existing file is left alone.

#include "app/databasefile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool ifMissing = args.removeAll(QStringLiteral("--if-missing")) > 0;
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: makedb [--if-missing] FILE SCRIPT...\n");
        return 2;
    }
    const QString file = args.takeFirst();
    if (ifMissing && QFileInfo::exists(file))
        return 0;
    QString error;
    if (!CreateDatabaseFile(file, args, &error)) {
        std::fprintf(stderr, "makedb: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
