#pragma once

#include "calc/ResidentTax.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// Each employee's 住民税 by 年度, rows of 住民税月額 keyed by 氏名 + 年度:
// the twelve amounts of the 決定通知書, the 市区町村 it is paid to and how
// the rest is collected once the employee leaves. An employee without a row
// for the 年度 of a pay has the single monthly 住民税 of the 給与設定
// deducted, as before these rows were kept. The rows follow their employee
// like 従業員給与 (renamed, deleted, emptied by the bulk delete).
namespace pelmar::employees {

struct ResidentTaxRow {
    QString name;
    pay::ResidentTaxYear year;
};

// Nothing when the read failed; the inner nothing: no row for that 年度.
std::optional<std::optional<ResidentTaxRow>> readResidentTax(const QSqlDatabase &main, const QString &name,
                                                             int fiscalYear);
// Every row of one 年度, by name.
std::optional<QList<ResidentTaxRow>> residentTaxesOfYear(const QSqlDatabase &main, int fiscalYear);
// Replaces the employee's row of the 年度; false, with nothing changed, for
// a negative amount, a 年度 out of range or a refusal of the database.
bool writeResidentTax(const QSqlDatabase &main, const ResidentTaxRow &row);
bool removeResidentTax(const QSqlDatabase &main, const QString &name, int fiscalYear);
// Sets only how the rest is collected, on the row of the 年度; true when
// there is no such row (nothing to collect).
bool setRemainder(const QSqlDatabase &main, const QString &name, int fiscalYear, pay::Remainder remainder);

// 退職後 as stored: "普通徴収", "一括徴収", or empty when undecided.
QString remainderName(pay::Remainder remainder);

} // namespace pelmar::employees
