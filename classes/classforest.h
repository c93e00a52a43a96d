#pragma once
// Classifications (departments, expense categories): hierarchical codes of four
// digits per level, and the forest they form once loaded. The forest is the one
// loading of a classification for every window and for the statistics; the
// tree view shows it.

#include <QHash>
#include <QString>
#include <QVector>

// The record kept for every node.
struct GoodsClass {
    int ID = -1; // an employee's TEmployee.ID in trees that also hold employees
    QString TypeCode;
    QString ParTypeCode;
    QString TypeName;
    int nLeveal = 0;
};

enum class ClassTable { Departments, Categories };

// The table, its editing texts and its depth limit.
struct ClassTableInfo {
    QString table;        // TEmpClass or TCustClass
    QString rootPrompt;   // name of a new top-level node
    QString childPrompt;  // name of a new child
    QString renamePrompt; // new name of a node
    QString depthMessage; // a child below the deepest level
    int maxParentLevel;   // a child may be added below levels 0 .. maxParentLevel
};
const ClassTableInfo& InfoOf(ClassTable table);

class QCollator;

// Orders names as a Chinese reader expects (by pinyin), case-sensitively.
const QCollator& ChineseCollator();
bool ClassNameLess(const QString& a, const QString& b);

class ClassForest {
public:
    enum class Linking {
        Linked,   // a row hangs below the node its ParTypeCode names; orphans are dropped
        TwoLevel, // every lower-level row hangs below the most recent top-level row
    };
    struct Node {
        GoodsClass data;
        int parent = -1;
        QVector<int> children;
    };

    // Builds the forest from rows in code order.
    void build(const QVector<GoodsClass>& rows, Linking linking);
    // Appends a node as the last child of parent (-1: top level); returns its index.
    int addNode(int parent, const GoodsClass& data);
    // Sorts every level by name.
    void sortByName();

    // The first node in tree order whose code equals code, -1 if none.
    int findNode(const QString& code) const;

    int size() const { return int(m_nodes.size()); }
    const Node& node(int index) const { return m_nodes[index]; }
    const QVector<int>& roots() const { return m_roots; }
    // Every node, each directly before its descendants, siblings in their order.
    QVector<int> depthFirst() const;

private:
    bool before(int a, int b) const; // a comes first in tree order

    QVector<Node> m_nodes;
    QVector<int> m_roots;
    QHash<QString, QVector<int>> m_byCode;
};

// Reads "Select * from <table> order by TypeCode"; false when the query failed.
bool ReadClassRows(ClassTable table, QVector<GoodsClass>& rows);

// Hangs the employees of every department node (of a non-empty code) below it,
// as its last children in the order of their IDs, after its sub-departments.
// An employee node's record: ID its TEmployee.ID, TypeCode its Code,
// ParTypeCode its department's code, TypeName its UserName, nLeveal its depth
// in the forest. False, adding nothing, when the employees cannot be read.
bool AddEmployees(ClassForest& departments);
