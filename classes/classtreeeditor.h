#pragma once
// The four editing commands of a classification tree: add a top-level node,
// add a child, rename, delete. Each asks through the prompts, writes its one
// statement and changes the tree only as far as the database did.

#include "classes/classforest.h"

class ClassTree;

class ClassTreeEditor {
public:
    ClassTreeEditor(ClassTree* tree, ClassTable table);

    void AddRoot();
    void AddChild();
    void Rename();
    void Delete();

    // Names are kept to this many GBK bytes.
    static constexpr int NameBytes = 30;

private:
    QString AskName(const QString& prompt, const QString& current) const;
    bool NextCode(const QString& parentCode, QString& code) const;
    bool Execute(const QString& statement) const;

    ClassTree* m_tree;
    ClassTable m_table;
};
