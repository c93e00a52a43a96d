// Loads department trees of 2,000 and of 20,000 nodes into the tree view and
// prints the time per 1,000 nodes for each: the two figures stay close when
// loading grows linearly with the number of nodes.

#include "app/databasefile.h"
#include "app/datamodule.h"
#include "classes/classtree.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

// A tree of about `count` departments: 20 top-level nodes, each level below
// with 10 children per node until the count is reached.
bool MakeTree(const QString& file, int count) {
    if (!CreateDatabaseFile(file, {QStringLiteral(BRIMSOLL_SOURCE_DIR "/db/schema.sql")}))
        return false;
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) values (?,?,?,?)", -1,
                       &insert, nullptr);
    QStringList level;
    QStringList next;
    int made = 0;
    auto add = [&](const QString& parent, int i, int depth) {
        const QString code = parent + QString::asprintf("%04d", i);
        const QByteArray c = code.toUtf8(), p = parent.toUtf8();
        const QByteArray name = QStringLiteral("部门%1").arg((made * 7919) % 100000).toUtf8();
        sqlite3_bind_text(insert, 1, c.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, p.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 4, depth);
        sqlite3_step(insert);
        sqlite3_reset(insert);
        next.append(code);
        ++made;
    };
    for (int i = 1; i <= 20 && made < count; ++i)
        add(QString(), i, 0);
    for (int depth = 1; made < count; ++depth) {
        level = next;
        next.clear();
        for (const QString& parent : level)
            for (int i = 1; i <= 10 && made < count; ++i)
                add(parent, i, depth);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return true;
}

// Milliseconds per 1,000 nodes, the best of three loads.
double MsPerThousand(int count) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tree.db"));
    if (!MakeTree(file, count))
        return -1;
    TDM dm;
    DM = &dm;
    if (!dm.Connect(file))
        return -1;
    double best = 1e100;
    for (int run = 0; run < 3; ++run) {
        ClassTree tree;
        QElapsedTimer timer;
        timer.start();
        tree.LoadClassTable(ClassTable::Departments, ClassForest::Linking::Linked);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
        if (tree.topLevelItemCount() != 20)
            return -1;
    }
    DM = nullptr;
    return best * 1000.0 / count;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double small = MsPerThousand(2000);
    const double large = MsPerThousand(20000);
    std::printf("2,000 departments:  %.2f ms per 1,000 nodes\n", small);
    std::printf("20,000 departments: %.2f ms per 1,000 nodes\n", large);
    std::printf("ratio (20,000 / 2,000): %.2f (linear growth keeps it near 1)\n", large / small);
    return small > 0 && large > 0 ? 0 : 1;
}
