#pragma once

#include "calc/NetPay.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

// The pay of a saved statement as it was paid: the 支給 items, each
// deduction, the totals and what they were computed with, one row of 時給支給
// per statement (keyed by 氏名 + タイトル like 時給ヘッダ). Stored with the
// statement and read back as stored, so that a statement reopens, prints and
// exports as it was paid even after the tables or the employee's details
// changed.
namespace pelmar::statements {

struct StatementPay {
    QString name, title;
    bool kept = false; // false: saved before pay was kept (no 時給支給 row)
    QDate payDate; // 支給日
    pay::Yen basic = 0, overtime = 0, night = 0, holiday = 0, adjustment = 0, commute = 0;
    pay::Yen gross = 0, nonTaxableCommute = 0;
    pay::Deductions deductions; // std::nullopt where none stored
    std::array<bool, pay::kDeductionCount> overridden{};
    pay::Yen other = 0; // その他
    std::optional<pay::Yen> socialInsurance, taxable, deductionTotal, netPay;
    pay::TaxColumn column = pay::TaxColumn::None;
    int dependants = 0;
    // 雇用保険料率 as paid; nothing when no rate was used.
    std::optional<pay::PartsPerMillion> employmentRate;
};

// How a deduction is named in 時給支給 (its column) and in 上書き.
QString deductionName(pay::Deduction deduction);
// 税区分 as stored: "甲", "乙", "未設定" (never chosen), or nothing for none.
QString columnName(pay::TaxColumn column);
std::optional<pay::TaxColumn> columnFromName(const QString &name);

// The pay to store from a computation: the items and the result as they are.
StatementPay fromComputed(const QString &name, const QString &title, const pay::PayInput &input,
                          const pay::PayResult &result, std::optional<pay::PartsPerMillion> employmentRate);

// Each nothing when the read failed (the failure kept as the stores keep
// theirs). The inner nothing of readStatementPay: the statement has no row.
std::optional<std::optional<StatementPay>> readStatementPay(const QSqlDatabase &main, const QString &name,
                                                            const QString &title);
// Every pay of the title, by name.
std::optional<QList<StatementPay>> statementPaysOfTitle(const QSqlDatabase &main, const QString &title);
// Every pay whose 支給日 falls in the year, by 支給日, then name.
std::optional<QList<StatementPay>> statementPaysOfYear(const QSqlDatabase &main, int year);

// Replaces the statement's row by this pay; runs inside the caller's
// transaction.
bool writeStatementPay(QSqlDatabase &main, const StatementPay &pay);
// Takes the statement's row away; inside the caller's transaction.
bool removeStatementPay(const QSqlDatabase &main, const QString &name, const QString &title);

} // namespace pelmar::statements
