#pragma once
// Codes of new classification nodes and the statements that write them.

#include "classes/classforest.h"

#include <QString>

// The next code under parent given the highest child code in use (empty when
// the parent has no child yet): parent + the next four-digit group. Empty when
// the groups are used up (9999) or the highest code cannot be read.
QString NextClassCode(const QString& parentCode, const QString& maxChildCode);

enum class NextCodeResult { Ok, QueryFailed, GroupsExhausted };

// Reads the highest child code of parent (empty parent: the top level) and
// gives the next one.
NextCodeResult GetMaxNum(ClassTable table, const QString& parentCode, QString& code);

// The statements of the editing commands (names are quoted for SQL here).
QString InsertClassStatement(ClassTable table, const GoodsClass& node);
QString RenameClassStatement(ClassTable table, const QString& code, const QString& name);
QString DeleteClassStatement(ClassTable table, const QString& code);
