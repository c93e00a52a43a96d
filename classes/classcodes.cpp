#include "classes/classcodes.h"

#include "app/dataset.h"
#include "app/helpers.h"

namespace {
constexpr int GroupWidth = 4;
constexpr int LastGroup = 9999;
} // namespace

QString NextClassCode(const QString& parentCode, const QString& maxChildCode) {
    if (maxChildCode.isEmpty())
        return parentCode + QStringLiteral("0001");
    bool ok = false;
    const int group = maxChildCode.mid(parentCode.size()).toInt(&ok);
    if (!ok || group < 0 || group >= LastGroup)
        return QString();
    return parentCode + PadZero(QString::number(group + 1), GroupWidth);
}

NextCodeResult GetMaxNum(ClassTable table, const QString& parentCode, QString& code) {
    code.clear();
    TDataSet dsTmp;
    dsTmp.setCommandText(
        QStringLiteral("Select Max(TypeCode) from %1 Where ParTypeCode='").arg(InfoOf(table).table) +
        SqlEscape(parentCode) + u'\'');
    QString maxCode;
    try {
        dsTmp.open();
        if (!dsTmp.eof())
            maxCode = dsTmp.asString(0);
    } catch (const EDatabaseError&) {
        return NextCodeResult::QueryFailed;
    }
    code = NextClassCode(parentCode, maxCode);
    return code.isEmpty() ? NextCodeResult::GroupsExhausted : NextCodeResult::Ok;
}

QString InsertClassStatement(ClassTable table, const GoodsClass& node) {
    return QStringLiteral("Insert into %1 (TypeCode,TypeName,ParTypeCode,nLeveal) Values('")
               .arg(InfoOf(table).table) +
           node.TypeCode + QStringLiteral("','") + SqlEscape(node.TypeName) + QStringLiteral("','") +
           node.ParTypeCode + QStringLiteral("',") + QString::number(node.nLeveal) + u')';
}

QString RenameClassStatement(ClassTable table, const QString& code, const QString& name) {
    return QStringLiteral("Update %1 Set TypeName='").arg(InfoOf(table).table) + SqlEscape(name) +
           QStringLiteral("' Where TypeCode='") + code + u'\'';
}

QString DeleteClassStatement(ClassTable table, const QString& code) {
    return QStringLiteral("Delete from %1 Where TypeCode='").arg(InfoOf(table).table) + code + u'\'';
}
