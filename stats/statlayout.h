#pragma once
// Lays a statistics table out from the database: the header rows and columns,
// the codes in row 0 and column 0, the marked names, one data row per expense
// category node and one data column per department and employee node.

#include "stats/stattable.h"

// Returns false after a failure that leaves the table unusable; the messages
// the window shows go through the prompts.
bool LayoutStatTable(StatTable& table);

// The marker in front of a name: "+ " for a node with children, "--" without.
QString MarkedName(const QString& name, bool hasChildren);
