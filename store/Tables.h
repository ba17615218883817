#pragma once

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

// Every table the program reads or writes, with its columns named once, in
// the order the schema declares them. Selects, inserts, updates and their
// placeholders are built from these lists, so no statement counts its own
// question marks or walks a column by a hand-written number.
namespace pelmar {

struct Table {
    QString name;
    QStringList columns;
    QString key; // the numbered key of a page's work table, empty elsewhere
};

// Column groups a master table shares with its page and with the statement
// lines, in schema order.
namespace columns {
inline const QStringList employee =
    QStringLiteral("氏名 時給 勤務形態 開始時間 終了時間 休憩時間 実労時間").split(u' ');
inline const QStringList pattern = QStringLiteral("タイプ 開始時間 終了時間 休憩時間 実労時間").split(u' ');
inline const QStringList patternTimes = QStringLiteral("開始時間 終了時間 休憩時間 実労時間").split(u' ');
// Night and overtime hours, the premium yen paid for them, rest-day hours and
// the overtime hours past 60, of a line or a whole statement.
inline const QStringList premium = QStringLiteral("深夜 時間外 割増額 休日 時間外60超").split(u' ');
inline const QStringList line =
    QStringLiteral("日付 開始時間 終了時間 休憩 時間 時給 調整額 金額").split(u' ') + premium;
} // namespace columns

namespace tables {
// The main file: masters and saved statements.
inline const Table 従業員{QStringLiteral("従業員"), QStringList{QStringLiteral("No")} + columns::employee, {}};
inline const Table 勤務形態マスタ{
    QStringLiteral("勤務形態マスタ"), QStringList{QStringLiteral("No")} + columns::pattern, {}};
inline const Table 時給ヘッダ{QStringLiteral("時給ヘッダ"),
                              QStringLiteral("氏名 タイトル 勤務タイプ 時給 休憩 調整額 時間 合計").split(u' ')
                                  + columns::premium,
                              {}};
inline const Table 時給明細{
    QStringLiteral("時給明細"), QStringLiteral("氏名 タイトル 行番号").split(u' ') + columns::line, {}};
inline const Table 自社情報{QStringLiteral("自社情報"), QStringLiteral("自社名 自社情報").split(u' '), {}};
inline const Table 設定{QStringLiteral("設定"), QStringLiteral("項目 値").split(u' '), {}};
inline const Table 締め{QStringLiteral("締め"), QStringLiteral("タイトル 締め 日時").split(u' '), {}};
inline const Table 従業員給与{QStringLiteral("従業員給与"),
                              QStringLiteral("氏名 性別 税区分 扶養親族等の数 雇用保険 健康保険料 介護保険料 厚生年金保険料"
                                             " 住民税 通勤手当区分 通勤手当 通勤手当非課税限度 入社日 退職日")
                                  .split(u' '),
                              {}};
inline const Table 時給支給{QStringLiteral("時給支給"),
                            QStringLiteral("氏名 タイトル 支給日 基本給 時間外手当 深夜手当 休日手当 調整額 通勤手当"
                                           " 総支給額 非課税通勤手当 健康保険 介護保険 厚生年金 雇用保険 所得税 住民税"
                                           " その他 社会保険料計 課税対象額 控除合計 差引支給額 上書き 税区分"
                                           " 扶養親族等の数 雇用保険料率")
                                .split(u' '),
                            {}};
inline const Table 従業員社会保険{
    QStringLiteral("従業員社会保険"),
    QStringLiteral("氏名 健康保険加入 厚生年金加入 資格取得日 資格喪失日 生年月日 勤務区分").split(u' '),
    {}};
inline const Table 標準報酬月額{
    QStringLiteral("標準報酬月額"), QStringLiteral("氏名 適用年月 健康保険 厚生年金 決定区分").split(u' '), {}};
inline const Table 住民税月額{
    QStringLiteral("住民税月額"),
    QStringLiteral("氏名 年度 市区町村 6月 7月 8月 9月 10月 11月 12月 1月 2月 3月 4月 5月 退職後").split(u' '),
    {}};
inline const Table 年末調整申告{
    QStringLiteral("年末調整申告"),
    QStringLiteral("氏名 年 本人障害 寡婦ひとり親 勤労学生 給与以外所得 配偶者氏名 配偶者生年月日 配偶者所得 配偶者障害"
                   " 一般生命新 一般生命旧 介護医療 個人年金新 個人年金旧 地震保険料 旧長期損害保険料 社会保険料"
                   " 小規模企業共済等掛金 住宅借入金等特別控除 前職支払金額 前職社会保険料 前職源泉徴収税額")
        .split(u' '),
    {}};
inline const Table 年末調整親族{QStringLiteral("年末調整親族"),
                                QStringLiteral("氏名 年 行番号 親族氏名 生年月日 所得見積 同居老親等 障害").split(u' '),
                                {}};

// The work file: what the pages are editing, and the hint texts.
inline const Table w明細{QStringLiteral("w明細"), QStringList{QStringLiteral("行番号")} + columns::line,
                         QStringLiteral("行番号")};
inline const Table w従業員{QStringLiteral("w従業員"), QStringLiteral("No チェック").split(u' ') + columns::employee,
                           QStringLiteral("No")};
inline const Table w勤務形態{QStringLiteral("w勤務形態"), QStringList{QStringLiteral("No")} + columns::pattern,
                             QStringLiteral("No")};
inline const Table w勤務形態参照{QStringLiteral("w勤務形態参照"), columns::pattern, {}};
inline const Table w履歴{QStringLiteral("w履歴"), QStringLiteral("氏名 合計 タイトル").split(u' '), {}};
inline const Table ClHint{
    QStringLiteral("ClHint"), QStringLiteral("FormName CtlName FormTitle Contents").split(u' '), {}};

// The work tables the pages' grids show, their columns by number in the
// order of the lists above: a grid addresses its columns by these. (w明細's
// are the day-line columns of calc/DetailLine.h, w勤務形態's those of
// calc/PatternRow.h.)
namespace employeeColumn {
enum : int { kNo, kCheck, kName, kWage, kPatternType, kStart, kEnd, kBreak, kWorked };
} // namespace employeeColumn
// w勤務形態参照, the drop-down list of the employee grid's shift type.
namespace referenceColumn {
enum : int { kType, kStart, kEnd, kBreak, kWorked, kCount };
} // namespace referenceColumn
namespace historyColumn {
enum : int { kName, kTotal, kTitle };
} // namespace historyColumn

// Every table of each file, in schema order.
QList<const Table *> ofMainFile();
QList<const Table *> ofWorkFile();
} // namespace tables

// "a", "b", "c" for the SQL text: every name quoted, so no column name is
// ever taken for a keyword.
QString columnList(const QStringList &columns);

// select <columns> from <table> <tail>, tail being a where or order clause.
QString selectSql(const Table &table, const QStringList &columns, const QString &tail = {});

// insert into <table> (<columns>) values (?, …) with one placeholder a column.
QString insertSql(const Table &table, const QStringList &columns);

// update <table> set <column> = ?, … <tail>.
QString updateSql(const Table &table, const QStringList &columns, const QString &tail);

// Inserts one row; false when the values do not match the columns or the
// database refuses.
bool insertRow(const QSqlDatabase &db, const Table &table, const QStringList &columns, const QVariantList &values);

} // namespace pelmar
