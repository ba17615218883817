#include "masters/YearEndDeclarations.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::yearend {

namespace {

const QString kDateFormat = QStringLiteral("yyyyMMdd");
const QString kOfTheYear = QStringLiteral(" where 氏名 = ? and 年 = ?");

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant dateOrNull(const QDate &date)
{
    return date.isValid() ? QVariant(date.toString(kDateFormat)) : QVariant();
}

QString widowhoodName(Widowhood widowhood)
{
    switch (widowhood) {
    case Widowhood::Widow:
        return QStringLiteral("寡婦");
    case Widowhood::SingleParent:
        return QStringLiteral("ひとり親");
    case Widowhood::None:
        break;
    }
    return {};
}

// The amounts of 年末調整申告 after the spouse, in the order of its columns.
QList<Yen Declarations::*> amountMembers()
{
    return {&Declarations::lifeNewGeneral,
            &Declarations::lifeOldGeneral,
            &Declarations::lifeCareMedical,
            &Declarations::lifeNewPension,
            &Declarations::lifeOldPension,
            &Declarations::earthquake,
            &Declarations::oldLongTermDamage,
            &Declarations::socialOutsidePay,
            &Declarations::smallBusinessMutualAid,
            &Declarations::housingLoanCredit,
            &Declarations::previousPay,
            &Declarations::previousSocialInsurance,
            &Declarations::previousTax};
}
constexpr int kFirstAmountColumn = 10;

Declarations declarationsOfRow(const Query &query)
{
    // In the order of 年末調整申告's columns, from 本人障害.
    Declarations d;
    d.selfDisability = disabilityFromName(query.value(2).toString());
    const QString widowhood = query.value(3).toString();
    d.widowhood = widowhood == widowhoodName(Widowhood::Widow) ? Widowhood::Widow
        : widowhood == widowhoodName(Widowhood::SingleParent)  ? Widowhood::SingleParent
                                                               : Widowhood::None;
    d.workingStudent = query.value(4).toInt() != 0;
    d.otherIncome = query.value(5).toLongLong();
    if (!query.value(6).isNull())
        d.spouse = Spouse{query.value(6).toString(), QDate::fromString(query.value(7).toString(), kDateFormat),
                          query.value(8).toLongLong(), disabilityFromName(query.value(9).toString())};
    const auto members = amountMembers();
    for (int i = 0; i < members.size(); ++i)
        d.*members[i] = query.value(kFirstAmountColumn + i).toLongLong();
    return d;
}

bool readRelatives(const QSqlDatabase &main, const QString &name, int year, Declarations &d)
{
    Query query(main);
    const QStringList columns = tables::年末調整親族.columns.mid(3);
    if (!query.run(selectSql(tables::年末調整親族, columns, kOfTheYear + QStringLiteral(" order by 行番号")), {name, year}))
        return false;
    while (query.next())
        d.relatives.append({query.value(0).toString(), QDate::fromString(query.value(1).toString(), kDateFormat),
                            query.value(2).toLongLong(), query.value(3).toInt() != 0,
                            disabilityFromName(query.value(4).toString())});
    return !query.failed();
}

bool removeDeclarations(const QSqlDatabase &main, const QString &name, int year)
{
    return execBound(main, QStringLiteral("delete from 年末調整申告") + kOfTheYear, {name, year})
        && execBound(main, QStringLiteral("delete from 年末調整親族") + kOfTheYear, {name, year});
}

QVariantList rowOf(const QString &name, int year, const Declarations &d)
{
    QVariantList values{name,
                        year,
                        textOrNull(disabilityName(d.selfDisability)),
                        textOrNull(widowhoodName(d.widowhood)),
                        d.workingStudent ? -1 : 0,
                        d.otherIncome};
    if (d.spouse)
        values << d.spouse->name << dateOrNull(d.spouse->birth) << d.spouse->income
               << textOrNull(disabilityName(d.spouse->disability));
    else
        values << QVariant() << QVariant() << QVariant() << QVariant();
    for (Yen Declarations::*member : amountMembers())
        values << d.*member;
    return values;
}

} // namespace

QString disabilityName(Disability disability)
{
    switch (disability) {
    case Disability::General:
        return QStringLiteral("一般");
    case Disability::Special:
        return QStringLiteral("特別");
    case Disability::SpecialLivingTogether:
        return QStringLiteral("同居特別");
    case Disability::None:
        break;
    }
    return {};
}

Disability disabilityFromName(const QString &name)
{
    for (const Disability d : {Disability::General, Disability::Special, Disability::SpecialLivingTogether}) {
        if (name == disabilityName(d))
            return d;
    }
    return Disability::None;
}

bool isValid(const Declarations &d)
{
    for (Yen Declarations::*member : amountMembers()) {
        if (d.*member < 0)
            return false;
    }
    if (d.otherIncome < 0 || (d.spouse && (d.spouse->income < 0 || !d.spouse->birth.isValid())))
        return false;
    return std::all_of(d.relatives.cbegin(), d.relatives.cend(), [](const Relative &r) {
        return !r.name.trimmed().isEmpty() && r.birth.isValid() && r.income >= 0;
    });
}

std::optional<std::optional<Declarations>> readDeclarations(const QSqlDatabase &main, const QString &name, int year)
{
    Query query(main);
    if (!query.run(selectSql(tables::年末調整申告, tables::年末調整申告.columns, kOfTheYear), {name, year}))
        return std::nullopt;
    if (!query.next())
        return query.failed() ? std::nullopt : std::optional(std::optional<Declarations>());
    Declarations d = declarationsOfRow(query);
    query.finish();
    if (!readRelatives(main, name, year, d))
        return std::nullopt;
    return std::optional(std::optional(d));
}

bool writeDeclarations(const QSqlDatabase &main, const QString &name, int year, const Declarations &d)
{
    if (name.isEmpty() || !isValid(d))
        return false;
    Transaction transaction(main);
    if (!transaction.started() || !removeDeclarations(main, name, year)
        || !insertRow(main, tables::年末調整申告, tables::年末調整申告.columns, rowOf(name, year, d)))
        return false;
    for (int i = 0; i < d.relatives.size(); ++i) {
        const Relative &r = d.relatives[i];
        const QVariantList values{name,           year,       i + 1, r.name, dateOrNull(r.birth), r.income,
                                  r.parentLivingTogether ? -1 : 0, textOrNull(disabilityName(r.disability))};
        if (!insertRow(main, tables::年末調整親族, tables::年末調整親族.columns, values))
            return false;
    }
    return transaction.commit();
}

bool followMaster(const QSqlDatabase &main, const QList<std::pair<QString, QString>> &renames)
{
    // The relatives first: whether the new name has 申告書 of its own is read
    // from 年末調整申告 before its rows move.
    for (const QString &table : {tables::年末調整親族.name, tables::年末調整申告.name}) {
        for (const auto &[from, to] : renames) {
            // A new name that already has 申告書 of its own keeps them.
            if (!execBound(main,
                           QStringLiteral("update %1 set 氏名 = ? where 氏名 = ?"
                                          " and not exists (select 1 from 年末調整申告 where 氏名 = ?)")
                               .arg(table),
                           {to, from, to}))
                return false;
        }
        if (!execBound(main, QStringLiteral("delete from %1 where 氏名 is null"
                                            " or 氏名 not in (select 氏名 from 従業員 where 氏名 is not null)")
                                 .arg(table)))
            return false;
    }
    return true;
}

} // namespace pelmar::yearend
