#pragma once
// The list of positions as every positions grid shows it.

class TDataSet;

// Opens every position in code order into a dataset; false when it cannot be read.
bool OpenPositions(TDataSet& dataSet);
