#include "store/SchemaVersion.h"

#include "store/Database.h"
#include "store/Failure.h"
#include "store/Query.h"
#include "store/Reasons.h"

#include <QSqlError>

#include <algorithm>

namespace pelmar {

const QList<Upgrade> &mainUpgrades()
{
    // A change of main.sql adds its step here, with kMainSchemaVersion raised to it.
    static const QList<Upgrade> steps{
        // 2: premium hours and yen on statements and their lines; settings.
        {2,
         {QStringLiteral("ALTER TABLE 時給ヘッダ ADD COLUMN 深夜 REAL"),
          QStringLiteral("ALTER TABLE 時給ヘッダ ADD COLUMN 時間外 REAL"),
          QStringLiteral("ALTER TABLE 時給ヘッダ ADD COLUMN 割増額 REAL"),
          QStringLiteral("ALTER TABLE 時給明細 ADD COLUMN 深夜 REAL"),
          QStringLiteral("ALTER TABLE 時給明細 ADD COLUMN 時間外 REAL"),
          QStringLiteral("ALTER TABLE 時給明細 ADD COLUMN 割増額 REAL"),
          QStringLiteral("CREATE TABLE 設定 (項目 TEXT PRIMARY KEY, 値 TEXT)")}},
        // 3: rest-day hours and overtime past 60 hours, on statements and lines.
        {3,
         {QStringLiteral("ALTER TABLE 時給ヘッダ ADD COLUMN 休日 REAL"),
          QStringLiteral("ALTER TABLE 時給ヘッダ ADD COLUMN 時間外60超 REAL"),
          QStringLiteral("ALTER TABLE 時給明細 ADD COLUMN 休日 REAL"),
          QStringLiteral("ALTER TABLE 時給明細 ADD COLUMN 時間外60超 REAL")}},
        // 4: the closes of titles and their undoing.
        {4,
         {QStringLiteral("CREATE TABLE 締め (タイトル TEXT, 締め INTEGER, 日時 TEXT)"),
          QStringLiteral("CREATE INDEX 締め_タイトル ON 締め (タイトル)")}},
        // 5: each employee's payroll details and the pay of each statement.
        {5,
         {QStringLiteral("CREATE TABLE 従業員給与 (氏名 TEXT PRIMARY KEY, 性別 TEXT, 税区分 TEXT,"
                         " 扶養親族等の数 INTEGER, 雇用保険 INTEGER, 健康保険料 INTEGER, 介護保険料 INTEGER,"
                         " 厚生年金保険料 INTEGER, 住民税 INTEGER, 通勤手当区分 TEXT, 通勤手当 INTEGER,"
                         " 通勤手当非課税限度 INTEGER, 入社日 TEXT, 退職日 TEXT)"),
          QStringLiteral("CREATE TABLE 時給支給 (氏名 TEXT, タイトル TEXT, 支給日 TEXT, 基本給 INTEGER,"
                         " 時間外手当 INTEGER, 深夜手当 INTEGER, 休日手当 INTEGER, 調整額 INTEGER, 通勤手当 INTEGER,"
                         " 総支給額 INTEGER, 非課税通勤手当 INTEGER, 健康保険 INTEGER, 介護保険 INTEGER,"
                         " 厚生年金 INTEGER, 雇用保険 INTEGER, 所得税 INTEGER, 住民税 INTEGER, その他 INTEGER,"
                         " 社会保険料計 INTEGER, 課税対象額 INTEGER, 控除合計 INTEGER, 差引支給額 INTEGER,"
                         " 上書き TEXT, 税区分 TEXT, 扶養親族等の数 INTEGER, 雇用保険料率 INTEGER)"),
          QStringLiteral("CREATE INDEX 時給支給_氏名タイトル ON 時給支給 (氏名, タイトル)")}},
        // 6: each employee's 健康保険・厚生年金 and 標準報酬月額 through time; 住民税 by
        // employee and 年度, month by month; what each employee declared for a
        // year's 年末調整; the saved lines found by employee and date.
        {6,
         {QStringLiteral("CREATE TABLE 従業員社会保険 (氏名 TEXT PRIMARY KEY, 健康保険加入 INTEGER, 厚生年金加入 INTEGER,"
                         " 資格取得日 TEXT, 資格喪失日 TEXT, 生年月日 TEXT, 勤務区分 TEXT)"),
          QStringLiteral("CREATE TABLE 標準報酬月額 (氏名 TEXT, 適用年月 TEXT, 健康保険 INTEGER, 厚生年金 INTEGER,"
                         " 決定区分 TEXT, PRIMARY KEY (氏名, 適用年月))"),
          QStringLiteral("CREATE TABLE 住民税月額 (氏名 TEXT, 年度 INTEGER, 市区町村 TEXT, \"6月\" INTEGER,"
                         " \"7月\" INTEGER, \"8月\" INTEGER, \"9月\" INTEGER, \"10月\" INTEGER, \"11月\" INTEGER,"
                         " \"12月\" INTEGER, \"1月\" INTEGER, \"2月\" INTEGER, \"3月\" INTEGER, \"4月\" INTEGER,"
                         " \"5月\" INTEGER, 退職後 TEXT, PRIMARY KEY (氏名, 年度))"),
          QStringLiteral("CREATE TABLE 年末調整申告 (氏名 TEXT, 年 INTEGER, 本人障害 TEXT, 寡婦ひとり親 TEXT,"
                         " 勤労学生 INTEGER, 給与以外所得 INTEGER, 配偶者氏名 TEXT, 配偶者生年月日 TEXT,"
                         " 配偶者所得 INTEGER, 配偶者障害 TEXT, 一般生命新 INTEGER, 一般生命旧 INTEGER,"
                         " 介護医療 INTEGER, 個人年金新 INTEGER, 個人年金旧 INTEGER, 地震保険料 INTEGER,"
                         " 旧長期損害保険料 INTEGER, 社会保険料 INTEGER, 小規模企業共済等掛金 INTEGER,"
                         " 住宅借入金等特別控除 INTEGER, 前職支払金額 INTEGER, 前職社会保険料 INTEGER,"
                         " 前職源泉徴収税額 INTEGER, PRIMARY KEY (氏名, 年))"),
          QStringLiteral("CREATE TABLE 年末調整親族 (氏名 TEXT, 年 INTEGER, 行番号 INTEGER, 親族氏名 TEXT,"
                         " 生年月日 TEXT, 所得見積 INTEGER, 同居老親等 INTEGER, 障害 TEXT)"),
          QStringLiteral("CREATE INDEX 年末調整親族_氏名年 ON 年末調整親族 (氏名, 年)"),
          QStringLiteral("CREATE INDEX 時給明細_氏名日付 ON 時給明細 (氏名, 日付)")}},
    };
    return steps;
}

const QList<Upgrade> &workUpgrades()
{
    // A change of work.sql adds its step here, with kWorkSchemaVersion raised to it.
    static const QList<Upgrade> steps{
        // 2: the premium columns of the statement lines.
        {2,
         {QStringLiteral("ALTER TABLE w明細 ADD COLUMN 深夜 REAL"),
          QStringLiteral("ALTER TABLE w明細 ADD COLUMN 時間外 REAL"),
          QStringLiteral("ALTER TABLE w明細 ADD COLUMN 割増額 REAL")}},
        // 3: rest-day hours and overtime past 60 hours of the statement lines.
        {3,
         {QStringLiteral("ALTER TABLE w明細 ADD COLUMN 休日 REAL"),
          QStringLiteral("ALTER TABLE w明細 ADD COLUMN 時間外60超 REAL")}},
    };
    return steps;
}

int storedSchemaVersion(const QSqlDatabase &db, QString *error)
{
    Query query(db, OnFailure::Answer);
    const QVariant version = query.single(QStringLiteral("PRAGMA user_version"));
    if (!version.isValid()) {
        if (error)
            *error = query.error().text();
        return -1;
    }
    // No Pelmar writes a negative version: such a file was made or changed
    // by something else, and is refused with that said.
    if (version.toInt() < 0) {
        if (error)
            *error = reasons::negativeVersion(version.toInt());
        return -1;
    }
    return version.toInt();
}

int layoutVersion(int storedVersion)
{
    return storedVersion == 0 ? kFirstSchemaVersion : storedVersion;
}

namespace {

// The steps from `from` to `to`, one per version and in order; empty with
// *missing set when a version has no step.
QList<Upgrade> stepsBetween(const QList<Upgrade> &steps, int from, int to, int *missing)
{
    QList<Upgrade> chosen;
    for (int version = from + 1; version <= to; ++version) {
        const auto step =
            std::find_if(steps.begin(), steps.end(), [version](const Upgrade &s) { return s.toVersion == version; });
        if (step == steps.end()) {
            *missing = version;
            return {};
        }
        chosen << *step;
    }
    return chosen;
}

// Runs the steps inside the caller's transaction and stores the version
// they reach. Empty, or why they stopped; the failure is also kept for the
// message, which says a full disk in the user's words.
QString runSteps(const QSqlDatabase &db, const QList<Upgrade> &chosen, int currentVersion)
{
    Query query(db);
    for (const Upgrade &step : chosen)
        for (const QString &statement : step.statements)
            if (!query.run(statement))
                return reasons::upgradeStepFailed(step.toVersion, query.error().text());
    // The version is stored last, inside the same transaction: a file never
    // claims a version whose steps did not all run.
    if (!query.run(QStringLiteral("PRAGMA user_version = %1").arg(currentVersion)))
        return query.error().text();
    return {};
}

} // namespace

UpgradeResult upgrade(QSqlDatabase &db, const QList<Upgrade> &steps, int currentVersion,
                      const std::function<bool()> &backupFirst, const std::function<QString()> &checkBeforeCommit)
{
    UpgradeResult result;
    result.toVersion = currentVersion;
    const int stored = storedSchemaVersion(db, &result.error);
    if (stored < 0)
        return result;
    result.fromVersion = layoutVersion(stored);
    if (result.fromVersion > currentVersion) {
        result.outcome = UpgradeResult::Outcome::TooNew;
        return result;
    }
    if (result.fromVersion == currentVersion) {
        result.outcome = UpgradeResult::Outcome::UpToDate;
        return result;
    }

    // A gap in the steps is found before anyone is asked for a copy.
    int missing = 0;
    const QList<Upgrade> chosen = stepsBetween(steps, result.fromVersion, currentVersion, &missing);
    if (missing != 0) {
        result.error = reasons::noUpgradeStep(missing);
        return result;
    }
    if (!backupFirst) {
        result.outcome = UpgradeResult::Outcome::NoBackup;
        return result;
    }
    if (!backupFirst()) {
        result.outcome = UpgradeResult::Outcome::BackupFailed;
        return result;
    }

    Transaction transaction(db);
    if (!transaction.started()) {
        result.error = db.lastError().text();
        return result;
    }
    result.error = runSteps(db, chosen, currentVersion);
    if (!result.error.isEmpty())
        return result;
    if (checkBeforeCommit) {
        const QString problem = checkBeforeCommit();
        if (!problem.isEmpty()) {
            result.error = problem;
            return result;
        }
    }
    if (!transaction.commit()) {
        result.error = db.lastError().text();
        return result;
    }
    result.outcome = UpgradeResult::Outcome::Upgraded;
    return result;
}

} // namespace pelmar
