#include "payroll/PunchStore.h"

#include "calc/Formats.h"
#include "calc/Premium.h"
#include "calc/TypedText.h"
#include "masters/PaySettings.h"
#include "messages/MessageCatalogue.h"
#include "payroll/MonthClose.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/Failure.h"
#include "store/Query.h"
#include "store/Tables.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

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
            query.value(3).toString()};
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

QString catalogueText(const MessageKey &key, const QString &subject)
{
    const auto message = lookupMessage(key, subject);
    return message ? message->prompt : subject;
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
        plan.statements << planned;
    }
    return plan;
}

std::optional<QString> closedTitleReason(const QSqlDatabase &main, const QString &title)
{
    const std::optional<closing::State> state = closing::stateOf(main, title);
    if (!state)
        return std::nullopt;
    if (!state->closed())
        return QString();
    return QStringLiteral("タイトル「%1」は%2のため、取込できません。")
        .arg(title, closing::closedMark(state->closedAt()));
}

bool storePlan(const QSqlDatabase &main, const Plan &plan, const QStringList &skipped, const QStringList &header,
               const ColumnMapping &mapping)
{
    QList<statements::StatementToStore> chosen;
    for (const PlannedStatement &planned : plan.statements)
        if (!skipped.contains(planned.statement.header.name))
            chosen << planned.statement;
    return statements::saveAll(main, chosen,
                               [&] { return header.isEmpty() || rememberMapping(main, header, mapping); });
}

QString errorFilePath(const QString &punchFile)
{
    const QFileInfo info(punchFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("_取込エラー.csv"));
}

namespace {

CommandOutcome refused(const QStringList &reasons)
{
    return CommandOutcome{1, {}, QStringLiteral("pelmar: ") + reasons.join(QStringLiteral("\npelmar: ")) + u'\n'};
}

// The file read and decoded; the reason it cannot be taken when it is not.
std::optional<CommandOutcome> readPunches(const QString &file, PunchFile &punches)
{
    QByteArray bytes;
    if (const QString unread = csv::readInputFile(file, &bytes); !unread.isEmpty())
        return refused({unread});
    punches = readPunchFile(bytes);
    if (!punches.problem.isEmpty())
        return refused({punches.problem});
    if (punches.damagedText)
        return refused(
            {QStringLiteral("%1 として読めないバイトがあります。画面の「取込」で文字コードを確かめてください。")
                 .arg(csv::encodingName(punches.encoding))});
    return std::nullopt;
}

// Every reason the plan cannot be stored whole: the command line stores all
// or nothing.
QStringList planRefusals(const Plan &plan)
{
    QStringList reasons;
    for (const PunchRow &row : plan.rows)
        if (!row.isTaken())
            reasons << QStringLiteral("%1行目: %2").arg(row.line).arg(row.reason);
    for (const QString &name : plan.replacedNames())
        reasons << QStringLiteral("%1 にはタイトル「%2」の明細がすでにあります。").arg(name, plan.title);
    if (plan.statements.isEmpty() && reasons.isEmpty())
        reasons << QStringLiteral("取り込む勤務の行がありません。");
    return reasons;
}

CommandOutcome importInto(const QSqlDatabase &main, const QString &dataFolder, const PunchFile &punches,
                          const QString &title)
{
    const auto mapping = knownMapping(main, punches.header());
    if (!mapping)
        return refused({QStringLiteral("見出しの行から、氏名（または従業員番号）・日付・出勤・退勤の列が分かりません。"
                                       "画面の「履　歴」ページの「取込」で一度列を指定すると、同じ見出しの"
                                       "ファイルはここでも取り込めます。")});
    const std::optional<Plan> plan = makePlan(main, punches.read.records, *mapping, title);
    if (!plan)
        return refused({catalogueText(msg::エラー帳票読込, {}) + u' ' + failureDetail(main)});
    const std::optional<QString> closed = closedTitleReason(main, plan->title);
    if (!closed)
        return refused({failureDetail(main)});
    if (!closed->isEmpty())
        return refused({*closed});
    if (const QStringList reasons = planRefusals(*plan); !reasons.isEmpty())
        return refused(reasons + QStringList{QStringLiteral("何も取り込んでいません。")});
    const backup::Outcome copy =
        backup::take(main, dataFolder, backup::Reason::PunchImport, QDateTime::currentDateTime());
    if (!copy.ok())
        return refused({copy.error, QStringLiteral("何も取り込んでいません。")});
    if (!storePlan(main, *plan, {}, {}, *mapping))
        return refused({failureDetail(main), QStringLiteral("何も取り込んでいません。")});
    int lines = 0;
    for (const PlannedStatement &planned : plan->statements)
        lines += int(planned.statement.lines.size());
    return {0,
            QStringLiteral("タイトル「%1」に明細 %2 件（%3 行）を取り込みました。\n")
                .arg(plan->title)
                .arg(plan->statements.size())
                .arg(lines),
            {}};
}

} // namespace

CommandOutcome importFromCommandLine(const QString &dataFolder, const QString &file, const QString &title)
{
    PunchFile punches;
    if (std::optional<CommandOutcome> unread = readPunches(file, punches))
        return *unread;
    if (typed::titleForm(title).isEmpty())
        return refused({QStringLiteral("タイトルを指定してください。")});

    const QString connection = QStringLiteral("pelmar-import-") + QUuid::createUuid().toString();
    CommandOutcome outcome;
    {
        const OpenResult opened =
            openExisting(QDir(dataFolder).filePath(kMainDbFileName), SchemaKind::Main, connection);
        if (!opened.ok())
            return refused({opened.error});
        outcome = importInto(opened.db, dataFolder, punches, title);
    }
    closeConnection(connection);
    return outcome;
}

} // namespace pelmar::punch
