#include "masters/EmployeeInsurance.h"

#include "masters/NamedValues.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::employees {

namespace {

const QString kDateFormat = QStringLiteral("yyyyMMdd");

constexpr settings::NamedValue<Decision> kDecisionNames[] = {
    {Decision::Acquisition, u"資格取得時決定"},
    {Decision::Regular, u"定時決定"},
    {Decision::Occasional, u"随時改定"},
};

constexpr settings::NamedValue<pay::Worker> kWorkerNames[] = {
    {pay::Worker::Regular, u"一般"},
    {pay::Worker::PartTime, u"パート"},
    {pay::Worker::ShortTime, u"短時間労働者"},
};

QVariant dateOrNull(const QDate &date)
{
    return date.isValid() ? QVariant(date.toString(kDateFormat)) : QVariant();
}

QDate dateOf(const QVariant &value)
{
    return QDate::fromString(value.toString(), kDateFormat);
}

// 適用年月 as kept: "202609".
QString monthText(pay::YearMonth month)
{
    return QStringLiteral("%1%2").arg(month.year, 4, 10, QChar(u'0')).arg(month.month, 2, 10, QChar(u'0'));
}

std::optional<pay::YearMonth> monthOf(const QString &text)
{
    return text.size() == 6 ? pay::YearMonth::fromText(text.first(4) + u'-' + text.last(2)) : std::nullopt;
}

bool historyIsValid(const QList<StandardRemuneration> &history)
{
    for (qsizetype i = 0; i < history.size(); ++i) {
        const StandardRemuneration &entry = history[i];
        if (!entry.from.isValid() || entry.health <= 0 || entry.pension <= 0
            || (i > 0 && !(history[i - 1].from < entry.from)))
            return false;
    }
    return true;
}

// The row of 従業員社会保険, in its columns' order.
EmployeeInsurance insuranceOfRow(const Query &query)
{
    EmployeeInsurance insurance;
    insurance.name = query.value(0).toString();
    insurance.healthInsured = query.value(1).toInt() == 1;
    insurance.pensionInsured = query.value(2).toInt() == 1;
    insurance.coverage = {dateOf(query.value(3)), dateOf(query.value(4))};
    insurance.birth = dateOf(query.value(5));
    insurance.worker = workerFromName(query.value(6).toString()).value_or(pay::Worker::Regular);
    return insurance;
}

std::optional<QList<StandardRemuneration>> readHistory(const QSqlDatabase &main, const QString &name)
{
    Query query(main);
    if (!query.run(selectSql(tables::標準報酬月額, tables::標準報酬月額.columns,
                             QStringLiteral("where 氏名 = ? order by 適用年月")),
                   {name}))
        return std::nullopt;
    QList<StandardRemuneration> history;
    while (query.next()) {
        const auto month = monthOf(query.value(1).toString());
        const auto decision = decisionFromName(query.value(4).toString());
        // A row that does not read is left out rather than read as another month.
        if (month && decision)
            history.append({*month, query.value(2).toLongLong(), query.value(3).toLongLong(), *decision});
    }
    if (query.failed())
        return std::nullopt;
    return history;
}

} // namespace

QString decisionName(Decision decision)
{
    return settings::nameOf(kDecisionNames, decision);
}

std::optional<Decision> decisionFromName(const QString &name)
{
    return settings::valueNamed(kDecisionNames, name);
}

QString workerName(pay::Worker worker)
{
    return settings::nameOf(kWorkerNames, worker);
}

std::optional<pay::Worker> workerFromName(const QString &name)
{
    return settings::valueNamed(kWorkerNames, name);
}

const StandardRemuneration *standardFor(const QList<StandardRemuneration> &history, pay::YearMonth month)
{
    const StandardRemuneration *found = nullptr;
    for (const StandardRemuneration &entry : history) {
        if (month < entry.from)
            break;
        found = &entry;
    }
    return found;
}

bool isValid(const EmployeeInsurance &i)
{
    const bool insured = i.healthInsured || i.pensionInsured;
    const QDate &acquired = i.coverage.acquired;
    const QDate &lost = i.coverage.lost;
    return !i.name.isEmpty() && (!insured || (acquired.isValid() && i.birth.isValid()))
        && (!lost.isValid() || (acquired.isValid() && acquired < lost)) && historyIsValid(i.history);
}

std::optional<std::optional<EmployeeInsurance>> readEmployeeInsurance(const QSqlDatabase &main, const QString &name)
{
    Query query(main);
    if (!query.run(selectSql(tables::従業員社会保険, tables::従業員社会保険.columns, QStringLiteral("where 氏名 = ?")),
                   {name}))
        return std::nullopt;
    std::optional<EmployeeInsurance> found;
    if (query.next())
        found = insuranceOfRow(query);
    if (query.failed())
        return std::nullopt;
    const auto history = readHistory(main, name);
    if (!history)
        return std::nullopt;
    // A history without its row (kept by an older program) is still shown.
    if (!found && !history->isEmpty())
        found = EmployeeInsurance{name, false, false, {}, {}, pay::Worker::Regular, {}};
    if (found)
        found->history = *history;
    return found;
}

bool writeEmployeeInsurance(const QSqlDatabase &main, const EmployeeInsurance &i)
{
    if (!isValid(i))
        return false;
    Transaction transaction(main);
    if (!transaction.started()
        || !execBound(main, QStringLiteral("delete from 従業員社会保険 where 氏名 = ?"), {i.name})
        || !execBound(main, QStringLiteral("delete from 標準報酬月額 where 氏名 = ?"), {i.name}))
        return false;
    // In the order of 従業員社会保険's columns.
    const QVariantList row{i.name,
                           i.healthInsured ? 1 : 0,
                           i.pensionInsured ? 1 : 0,
                           dateOrNull(i.coverage.acquired),
                           dateOrNull(i.coverage.lost),
                           dateOrNull(i.birth),
                           workerName(i.worker)};
    if (!insertRow(main, tables::従業員社会保険, tables::従業員社会保険.columns, row))
        return false;
    for (const StandardRemuneration &entry : i.history) {
        const QVariantList values{i.name, monthText(entry.from), entry.health, entry.pension,
                                  decisionName(entry.decision)};
        if (!insertRow(main, tables::標準報酬月額, tables::標準報酬月額.columns, values))
            return false;
    }
    return transaction.commit();
}

bool followMasterInsurance(const QSqlDatabase &main, const QList<std::pair<QString, QString>> &renames)
{
    for (const QString &table : {tables::従業員社会保険.name, tables::標準報酬月額.name}) {
        for (const auto &[from, to] : renames) {
            // A new name that already has rows of its own keeps them.
            if (!execBound(main,
                           QStringLiteral("update %1 set 氏名 = ? where 氏名 = ?"
                                          " and not exists (select 1 from %1 where 氏名 = ?)")
                               .arg(columnList({table})),
                           {to, from, to}))
                return false;
        }
        if (!execBound(main,
                       QStringLiteral("delete from %1 where 氏名 is null"
                                      " or 氏名 not in (select 氏名 from 従業員 where 氏名 is not null)")
                           .arg(columnList({table}))))
            return false;
    }
    return true;
}

} // namespace pelmar::employees
