#include "masterdata/positions.h"

#include "app/dataset.h"

bool OpenPositions(TDataSet& dataSet) {
    dataSet.close();
    dataSet.setCommandText(QStringLiteral("Select * from TFunc Order by FuncCode"));
    try {
        dataSet.open();
    } catch (const EDatabaseError&) {
        return false;
    }
    return true;
}
