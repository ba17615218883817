#include "payroll/PunchStore.h"

#include "calc/Formats.h"
#include "calc/Premium.h"
#include "calc/TypedText.h"
#include "masters/PaySettings.h"
#include "payroll/LawFindings.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace pelmar::punch {

namespace {

const QString kMappingPrefix = QStringLiteral("取込列 ");

struct MasterEmployee {
    Employee employee;
    QVariant wage;
    QString patternType;
};

std::optional<QList<MasterEmployee>> readMaster(const QSqlDatabase &main)
{
    Query query(main);
    if (!query.run(QStringLiteral("select \"No\", 氏名, 時給, 勤務形態 from 従業員"
                                  " where 氏名 is not null and 氏名 <> '' order by \"No\", rowid")))
        return std::nullopt;
    QList<MasterEmployee> master;
    while (query.next())
        master << MasterEmployee{
            {query.value(1).toString(), query.value(0).isNull() ? QString() : query.value(0).toString()},
            query.value(2),
            // No shift type is an empty one, as the statement page stores it.
            query.value(3).isNull() ? QStringLiteral("") : query.value(3).toString()};
    if (query.failed())
        return std::nullopt;
    return master;
}

// Rows of a query of two text columns, or nothing when it failed.
std::optional<QList<QStringList>> pairs(const QSqlDatabase &main, const QString &sql, const QVariantList &values)
{
    Query query(main);
    if (!query.run(sql, values))
        return std::nullopt;
    QList<QStringList> found;
    while (query.next())
        found << QStringList{query.value(0).toString(), query.value(1).toString()};
    if (query.failed())
        return std::nullopt;
    return found;
}

// A column sum as the page keeps it: null when no line has a value.
QVariant sumOf(const QList<QVariantList> &lines, int column)
{
    QVariant sum;
    for (const QVariantList &line : lines)
        if (!line.at(column).isNull())
            sum = sum.toDouble() + line.at(column).toDouble();
    return sum;
}

double totalOf(const QList<QVariantList> &lines, int column)
{
    return sumOf(lines, column).toDouble();
}

// One employee's rows as the lines of a statement, worked out as the
// statement page works out its lines when they are typed.
PlannedStatement statementOf(const QSqlDatabase &main, const MasterEmployee &who, const QString &title,
                             const QList<PunchRow> &rows, QList<int> indexes, const premium::Rules &rules)
{
    std::sort(indexes.begin(), indexes.end(), [&rows](int a, int b) {
        return std::tie(rows.at(a).date, rows.at(a).start) < std::tie(rows.at(b).date, rows.at(b).start);
    });
    QList<premium::DayLine> lines;
    for (int i = 0; i < indexes.size(); ++i) {
        const PunchRow &row = rows.at(indexes.at(i));
        lines << premium::DayLine{i + 1, row.date, row.start, row.end, row.breakHours, row.hours, who.wage, {}};
    }
    const QString name = who.employee.name;
    const QList<premium::LinePay> pay =
        premium::payOfLines(lines, rules, statements::earlierLines(main, name, title, lines, rules.weekStart));

    PlannedStatement planned;
    planned.rows = indexes;
    for (int i = 0; i < lines.size(); ++i) {
        const premium::DayLine &line = lines.at(i);
        const premium::LinePay &paid = pay.at(i);
        // In the order of columns::line.
        planned.statement.lines << QVariantList{
            line.date,  line.start,    line.end,     line.breakHours,
            line.hours, line.wage,     QVariant(),   paid.amount ? QVariant(*paid.amount) : QVariant(),
            paid.night, paid.overtime, paid.premium, paid.restDay,
            paid.over60};
    }
    const QList<QVariantList> &stored = planned.statement.lines;
    const auto column = [](const char16_t *caption) {
        return int(columns::line.indexOf(QString::fromUtf16(caption)));
    };
    planned.statement.header = statements::Header{name,
                                                  title,
                                                  who.patternType,
                                                  who.wage,
                                                  totalOf(stored, column(u"休憩")),
                                                  totalOf(stored, column(u"調整額")),
                                                  totalOf(stored, column(u"時間")),
                                                  totalOf(stored, column(u"金額")),
                                                  sumOf(stored, column(u"深夜")),
                                                  sumOf(stored, column(u"時間外")),
                                                  sumOf(stored, column(u"割増額")),
                                                  sumOf(stored, column(u"休日")),
                                                  sumOf(stored, column(u"時間外60超"))};
    return planned;
}

} // namespace

int Plan::refusedRows() const
{
    return int(std::count_if(rows.cbegin(), rows.cend(), [](const PunchRow &row) { return !row.isTaken(); }));
}

QStringList Plan::replacedNames() const
{
    QStringList names;
    for (const PlannedStatement &planned : statements)
        if (planned.replaces)
            names << planned.statement.header.name;
    return names;
}

std::optional<ColumnMapping> rememberedMapping(const QSqlDatabase &main, const QStringList &header)
{
    const QVariant kept =
        Query(main).single(selectSql(tables::設定, {QStringLiteral("値")}, QStringLiteral("where 項目 = ?")),
                           {kMappingPrefix + headerKey(header)});
    if (!kept.isValid())
        return std::nullopt;
    return ColumnMapping::fromText(kept.toString());
}

bool rememberMapping(const QSqlDatabase &main, const QStringList &header, const ColumnMapping &mapping)
{
    return execBound(main, QStringLiteral("insert or replace into 設定 (項目, 値) values (?, ?)"),
                     {kMappingPrefix + headerKey(header), mapping.toText()});
}

std::optional<ColumnMapping> knownMapping(const QSqlDatabase &main, const QStringList &header)
{
    if (const auto kept = rememberedMapping(main, header))
        return kept;
    return recogniseHeader(header);
}

std::optional<Plan> makePlan(const QSqlDatabase &main, const QList<csv::ReadRecord> &records,
                             const ColumnMapping &mapping, const QString &title)
{
    const auto master = readMaster(main);
    const auto rules = settings::load(main);
    const auto titles =
        pairs(main, QStringLiteral("select distinct タイトル, '' from 時給ヘッダ where タイトル is not null"), {});
    if (!master || !rules || !titles)
        return std::nullopt;
    QStringList known;
    for (const QStringList &row : *titles)
        known << row.first();
    Plan plan;
    plan.title = typed::settledTitle(title, known);
    plan.rules = *rules;

    // The title's own statements are replaced or skipped whole: their dates
    // do not count as stored.
    const auto dates = pairs(
        main, QStringLiteral("select distinct 氏名, 日付 from 時給明細 where タイトル is not ? and 日付 is not null"),
        {plan.title});
    const auto present =
        pairs(main, QStringLiteral("select distinct 氏名, '' from 時給ヘッダ where タイトル = ?"), {plan.title});
    if (!dates || !present)
        return std::nullopt;
    ImportContext context;
    context.yearWhenNone = QDate::currentDate().year();
    for (const MasterEmployee &who : *master)
        context.employees << who.employee;
    for (const QStringList &row : *dates)
        context.storedDates[row.at(0)].insert(row.at(1));
    plan.rows = readPunches(records, mapping, context);

    QSet<QString> stored;
    for (const QStringList &row : *present)
        stored.insert(row.first());
    // Each employee's rows gathered in one pass: a file of many rows and a
    // master of many employees cost their sum, not their product.
    QHash<QString, QList<int>> rowsOf;
    for (int i = 0; i < plan.rows.size(); ++i)
        if (plan.rows.at(i).isTaken())
            rowsOf[plan.rows.at(i).employee] << i;
    QSet<QString> seen;
    for (const MasterEmployee &who : *master) {
        const QString &name = who.employee.name;
        // A name the master holds twice (from before 登録 refused that) is
        // one employee, paid the wage of the first of them.
        if (seen.contains(name))
            continue;
        seen.insert(name);
        const QList<int> indexes = rowsOf.value(name);
        if (indexes.isEmpty())
            continue;
        double wage = 0;
        if (who.wage.isNull() || !fmt::toNumber(who.wage, &wage)) {
            for (int i : std::as_const(indexes)) {
                plan.rows[i].problem = Problem::NoWage;
                plan.rows[i].reason = QStringLiteral("「%1」の時給が従業員に登録されていません。").arg(name);
            }
            continue;
        }
        PlannedStatement planned = statementOf(main, who, plan.title, plan.rows, indexes, *rules);
        planned.replaces = stored.contains(name);
        const std::optional<statements::StoredState> state =
            planned.replaces ? statements::storedState(main, name, plan.title) : statements::StoredState{};
        if (!state)
            return std::nullopt;
        planned.stored = *state;
        planned.findings = statements::lawFindings(main, name, plan.title, planned.statement.lines, *rules);
        plan.statements << planned;
    }
    return plan;
}

statements::SaveResult storePlan(const QSqlDatabase &main, const Plan &plan, const QStringList &skipped,
                                 const QStringList &header, const ColumnMapping &mapping)
{
    QList<statements::StatementToStore> chosen;
    for (const PlannedStatement &planned : plan.statements) {
        if (skipped.contains(planned.statement.header.name))
            continue;
        chosen << planned.statement;
        // Rows on days stored under other titles were refused in the plan:
        // no such day is accepted now.
        chosen.last().expected.replacing = planned.stored;
    }
    return statements::save(main, chosen, [&] { return header.isEmpty() || rememberMapping(main, header, mapping); });
}

QString errorFilePath(const QString &punchFile)
{
    const QFileInfo info(punchFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("_取込エラー.csv"));
}

} // namespace pelmar::punch
