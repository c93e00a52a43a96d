#pragma once
// Filling the value cells of a laid-out statistics table: the base expense
// table (sums of the period's records) and the allocation table (each
// employee's share by the formula of the employee's position).

#include "stats/statperiod.h"
#include "stats/stattable.h"

#include <functional>

// Called before each data column is written (with the column's index); a
// false answer stops the fill there.
using ColumnProgress = std::function<bool(int col)>;

// The base table. With includeSub a row counts its category and every category
// below it, an employee column every record whose employee code begins with
// the employee's, a department column every record of the department and of
// the departments below it; without it, exact matches (a department column
// takes the department's records that name no employee). False when the
// records cannot be read or the fill was stopped.
bool FillBaseTable(StatTable& table, const StatPeriod& period, bool includeSub,
                   const ColumnProgress& progress = {});

// The allocation table, laid out like base, from the formulas of the employees'
// positions. A formula that fails is reported (through the prompts) at every
// cell it is used and gives 0.00. False when the lookups cannot be read or the
// fill was stopped.
bool FillAllocationTable(StatTable& calc, const StatTable& base, const StatPeriod& period,
                         const ColumnProgress& progress = {});
