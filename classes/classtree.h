#pragma once
// The tree view of a classification, used by every window that shows
// departments or expense categories: read-only labels, the selection visible
// without focus, nodes expanding when selected, hot tracking, image 0 for
// top-level nodes and image 1 below (image 2 for employee nodes, whose record
// carries an ID), every level in name order unless the forest shown comes in
// its own order. It reacts to mouse clicks (nodeClicked), not to keyboard
// selection changes.

#include "classes/classforest.h"

#include <QHash>
#include <QTreeWidget>

class ClassTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit ClassTree(QWidget* parent = nullptr);

    // Loads the table (linked or two-level); false when it could not be read,
    // after showing "读取数据出现错误。".
    bool LoadClassTable(ClassTable table, ClassForest::Linking linking);
    // Loads the departments (linked, sorted by name) with the employees of each
    // department as its last children, after its sub-departments; the same
    // failure as LoadClassTable. Departments whose employees cannot be read
    // are shown without them.
    bool LoadDepartmentsWithEmployees();
    enum class NodeOrder {
        ByName,     // every level sorted by name, and kept sorted
        AsInForest, // the forest's own order, kept as it is
    };
    // Shows a built forest (the tree is emptied first).
    void ShowForest(const ClassForest& forest, NodeOrder order = NodeOrder::ByName);

    // The first node in tree order whose code equals code, nullptr if none.
    QTreeWidgetItem* FindNode(const QString& code) const;
    // Adds a node as the last child of parent (nullptr: top level).
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const GoodsClass& record);
    void RemoveNode(QTreeWidgetItem* node);

    static GoodsClass Record(const QTreeWidgetItem* node);
    QTreeWidgetItem* Selected() const;
    void SelectFirst();

Q_SIGNALS:
    // A mouse click or double-click on a node.
    void nodeClicked(QTreeWidgetItem* node);
    void nodeDoubleClicked(QTreeWidgetItem* node);

private:
    // Reads and builds a classification; false after showing the failure.
    static bool ReadForest(ClassTable table, ClassForest::Linking linking, ClassForest& forest);
    void index(QTreeWidgetItem* node);
    void unindex(QTreeWidgetItem* node);

    QHash<QString, QVector<QTreeWidgetItem*>> m_byCode;
};
