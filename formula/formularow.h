#pragma once
// The allocation formula of one pair of position and expense category: at most
// one TFormula row per pair; a pair without a row has no formula.

#include <QString>

class TDataSet;

// "Select * from TFormula Where FuncCode='<position>' And CustTypeCode='<category>'"
QString FormulaRowSql(const QString& funcCode, const QString& custTypeCode);

// Opens the pair's row on dataSet and gives its formula (empty for a pair
// without a row); false when the statement fails.
bool LookupFormula(TDataSet& dataSet, const QString& funcCode, const QString& custTypeCode, QString& formula);

// The pair's formula through the data module: empty when the pair has no row
// or the statement fails.
QString StoredFormula(const QString& funcCode, const QString& custTypeCode);

// Opens the pair's row for editing on dataSet, appending a new row when the
// pair has none; false when the statement fails.
bool OpenFormulaRow(TDataSet& dataSet, const QString& funcCode, const QString& custTypeCode,
                    QString& formula);

// Writes the pair's codes and the formula into the row opened by
// OpenFormulaRow and posts it; false when the database refuses it (the row
// then stays open for another attempt).
bool SaveFormulaRow(TDataSet& dataSet, const QString& funcCode, const QString& custTypeCode,
                    const QString& formula);
