#include "formula/formularow.h"

#include "app/datamodule.h"
#include "app/dataset.h"
#include "app/helpers.h"

namespace {

QString PairCondition(const QString& funcCode, const QString& custTypeCode, const QString& where,
                      const QString& conjunction) {
    return where + QStringLiteral(" FuncCode='") + SqlEscape(funcCode) + QStringLiteral("' ") + conjunction +
           QStringLiteral(" CustTypeCode='") + SqlEscape(custTypeCode) + u'\'';
}

} // namespace

QString FormulaRowSql(const QString& funcCode, const QString& custTypeCode) {
    return QStringLiteral("Select * from TFormula") +
           PairCondition(funcCode, custTypeCode, QStringLiteral(" Where"), QStringLiteral("And"));
}

bool LookupFormula(TDataSet& dataSet, const QString& funcCode, const QString& custTypeCode,
                   QString& formula) {
    dataSet.close();
    dataSet.setCommandText(FormulaRowSql(funcCode, custTypeCode));
    try {
        dataSet.open();
        formula = dataSet.isEmpty() ? QString() : dataSet.asString(QStringLiteral("Formula"));
    } catch (const EDatabaseError&) {
        return false;
    }
    return true;
}

QString StoredFormula(const QString& funcCode, const QString& custTypeCode) {
    return DM->GetDataBySQL(
        QStringLiteral("select Formula from TFormula") +
        PairCondition(funcCode, custTypeCode, QStringLiteral(" where"), QStringLiteral("and")));
}

bool OpenFormulaRow(TDataSet& dataSet, const QString& funcCode, const QString& custTypeCode,
                    QString& formula) {
    if (!LookupFormula(dataSet, funcCode, custTypeCode, formula))
        return false;
    if (dataSet.isEmpty()) {
        try {
            dataSet.append();
        } catch (const EDatabaseError&) {
            return false;
        }
    }
    return true;
}

bool SaveFormulaRow(TDataSet& dataSet, const QString& funcCode, const QString& custTypeCode,
                    const QString& formula) {
    try {
        if (dataSet.state() == TDataSet::State::Browse)
            dataSet.edit();
        dataSet.setValue(QStringLiteral("FuncCode"), funcCode);
        dataSet.setValue(QStringLiteral("CustTypeCode"), custTypeCode);
        dataSet.setValue(QStringLiteral("Formula"), formula);
        dataSet.post();
    } catch (const EDatabaseError&) {
        return false;
    }
    return true;
}
