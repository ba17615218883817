#include "hints/HintStore.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::hints {

namespace {

const QString kDeletePair = QStringLiteral("delete from ClHint where FormName = ? and CtlName = ?");

bool namesGiven(const QString &formName, const QString &ctlName)
{
    return !formName.isEmpty() && !ctlName.isEmpty();
}

// An empty box is stored as an empty text, not as a missing one.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

} // namespace

bool readHint(const QSqlDatabase &work, const QString &formName, const QString &ctlName, QString *contents)
{
    if (!namesGiven(formName, ctlName) || !work.isOpen())
        return false;
    // Rows written by an older copy of the file may still hold a pair twice;
    // the first one is the one shown.
    Query query(work);
    if (!query.run(
            QStringLiteral("select Contents from ClHint where FormName = ? and CtlName = ? order by rowid limit 1"),
            {formName, ctlName})
        || !query.next())
        return false;
    if (contents)
        *contents = query.value(0).toString(); // a null text reads as empty
    return true;
}

bool storeHint(const QSqlDatabase &work, const QString &formName, const QString &ctlName, const QString &formTitle,
               const QString &contents)
{
    if (!namesGiven(formName, ctlName) || !work.isOpen())
        return false;
    // If the delete failed and the add went on regardless, the pair would
    // end up with two texts; if the add failed after the delete, the old
    // text would be lost. Either failure leaves the stored text as it was.
    Transaction transaction(work);
    if (!transaction.started())
        return false;
    if (!execBound(work, kDeletePair, {formName, ctlName}))
        return false;
    if (!insertRow(work, tables::ClHint, tables::ClHint.columns, {formName, ctlName, text(formTitle), text(contents)}))
        return false;
    return transaction.commit();
}

bool deleteHint(const QSqlDatabase &work, const QString &formName, const QString &ctlName)
{
    if (!namesGiven(formName, ctlName) || !work.isOpen())
        return false;
    return execBound(work, kDeletePair, {formName, ctlName});
}

} // namespace pelmar::hints
