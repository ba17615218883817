-- Pelmar.mdb: what the user keeps. Money and hours are REAL and never rounded
-- by the program; times of day are four-character TEXT (hhmm), dates eight
-- characters (yyyymmdd), so that text order is time and date order.

-- Employees with their hourly wage and usual shift type.
CREATE TABLE 従業員 (
    "No"       INTEGER,
    氏名       TEXT,
    時給       REAL,
    勤務形態   TEXT,
    開始時間   TEXT,
    終了時間   TEXT,
    休憩時間   REAL,
    実労時間   REAL
);

-- Shift types "A" to "J".
CREATE TABLE 勤務形態マスタ (
    "No"       INTEGER,
    タイプ     TEXT,
    開始時間   TEXT,
    終了時間   TEXT,
    休憩時間   REAL,
    実労時間   REAL
);

-- One row per saved statement, keyed by 氏名 + タイトル.
CREATE TABLE 時給ヘッダ (
    氏名       TEXT,
    タイトル   TEXT,
    勤務タイプ TEXT,
    時給       REAL,
    休憩       REAL,
    調整額     REAL,
    時間       REAL,
    合計       REAL,
    -- Premium hours and the premium yen inside 合計; null on statements
    -- saved before premiums were paid.
    深夜       REAL,
    時間外     REAL,
    割増額     REAL,
    -- Hours on the legal weekly rest day, and the overtime hours past the
    -- 60th of the statement; null on statements saved before they were kept.
    休日       REAL,
    時間外60超 REAL
);
CREATE INDEX 時給ヘッダ_氏名タイトル ON 時給ヘッダ (氏名, タイトル);

-- The day lines of saved statements.
CREATE TABLE 時給明細 (
    氏名       TEXT,
    タイトル   TEXT,
    行番号     INTEGER,
    日付       TEXT,
    開始時間   TEXT,
    終了時間   TEXT,
    休憩       REAL,
    時間       REAL,
    時給       REAL,
    調整額     REAL,
    金額       REAL,
    -- Hours between 22:00 and 05:00, hours over the day's or the week's
    -- limit, and the premium yen for them inside 金額; null on lines saved
    -- before premiums were paid.
    深夜       REAL,
    時間外     REAL,
    割増額     REAL,
    -- Hours on the legal weekly rest day, and the line's overtime hours past
    -- the statement's 60th; null on lines saved before they were kept.
    休日       REAL,
    時間外60超 REAL
);
CREATE INDEX 時給明細_氏名タイトル ON 時給明細 (氏名, タイトル, 行番号);
-- A save reads the employee's lines of its own dates under other titles
-- (the week's earlier hours, days paid twice, the year's overtime): by name
-- and date, so that the read stays as small as the statement however many
-- are stored.
CREATE INDEX 時給明細_氏名日付 ON 時給明細 (氏名, 日付);

-- The company's name and details; only the first row is used.
CREATE TABLE 自社情報 (
    自社名     TEXT,
    自社情報   TEXT
);

-- The program's settings (premiums, rounding), one row per item; an item
-- without a row has its default.
CREATE TABLE 設定 (
    項目       TEXT PRIMARY KEY,
    値         TEXT
);
-- A new installation pays the night and overtime premiums the law asks
-- for, at its 25 %; a file that had no settings keeps paying as it did.
INSERT INTO 設定 (項目, 値) VALUES ('深夜割増', '1'), ('時間外割増', '1');

-- The closes (締め) of a title once its slips are paid, and their undoing
-- for a correction, one row each, oldest first: the title is closed while
-- its latest row is a close. Kept until the bulk delete.
CREATE TABLE 締め (
    タイトル   TEXT,
    締め       INTEGER,
    日時       TEXT
);
CREATE INDEX 締め_タイトル ON 締め (タイトル);

-- Each employee's payroll details, one row per name; an employee without a
-- row has nothing deducted. Amounts are monthly whole yen; dates yyyymmdd.
CREATE TABLE 従業員給与 (
    氏名             TEXT PRIMARY KEY,
    性別             TEXT,
    税区分           TEXT,
    扶養親族等の数   INTEGER,
    雇用保険         INTEGER,
    健康保険料       INTEGER,
    介護保険料       INTEGER,
    厚生年金保険料   INTEGER,
    住民税           INTEGER,
    通勤手当区分     TEXT,
    通勤手当         INTEGER,
    通勤手当非課税限度 INTEGER,
    入社日           TEXT,
    退職日           TEXT
);

-- The pay of each saved statement, as it was paid, keyed by 氏名 + タイトル
-- like 時給ヘッダ; a statement saved before pay was kept has no row. Whole
-- yen; a deduction is null only when it could not be computed and none was
-- typed. 上書き names the deductions typed over, comma-separated.
CREATE TABLE 時給支給 (
    氏名           TEXT,
    タイトル       TEXT,
    支給日         TEXT,
    基本給         INTEGER,
    時間外手当     INTEGER,
    深夜手当       INTEGER,
    休日手当       INTEGER,
    調整額         INTEGER,
    通勤手当       INTEGER,
    総支給額       INTEGER,
    非課税通勤手当 INTEGER,
    健康保険       INTEGER,
    介護保険       INTEGER,
    厚生年金       INTEGER,
    雇用保険       INTEGER,
    所得税         INTEGER,
    住民税         INTEGER,
    その他         INTEGER,
    社会保険料計   INTEGER,
    課税対象額     INTEGER,
    控除合計       INTEGER,
    差引支給額     INTEGER,
    上書き         TEXT,
    税区分         TEXT,
    扶養親族等の数 INTEGER,
    雇用保険料率   INTEGER
);
CREATE INDEX 時給支給_氏名タイトル ON 時給支給 (氏名, タイトル);

-- Each employee's 健康保険 and 厚生年金, one row per name: whether insured
-- in each, 資格取得日 and 資格喪失日 (the day after leaving), 生年月日 (for
-- 介護 and the age limits), dates yyyymmdd; 勤務区分 decides the days a
-- month needs to count for a grade: "一般", "パート" or "短時間労働者".
CREATE TABLE 従業員社会保険 (
    氏名         TEXT PRIMARY KEY,
    健康保険加入 INTEGER,
    厚生年金加入 INTEGER,
    資格取得日   TEXT,
    資格喪失日   TEXT,
    生年月日     TEXT,
    勤務区分     TEXT
);

-- Each employee's 標準報酬月額 through time: each from the month it applies
-- (適用年月, yyyymm) until the next, whole yen for each insurance, and why
-- (決定区分: "資格取得時決定", "定時決定" or "随時改定").
CREATE TABLE 標準報酬月額 (
    氏名       TEXT,
    適用年月   TEXT,
    健康保険   INTEGER,
    厚生年金   INTEGER,
    決定区分   TEXT,
    PRIMARY KEY (氏名, 適用年月)
);

-- 住民税 collected from pay (特別徴収), one row per employee and 年度 (June
-- to May, named by the year of its June), as the 特別徴収税額の決定通知書
-- gives it: the 市区町村, each month's amount in whole yen, June first, and
-- how the rest is collected once the employee leaves: 普通徴収, 一括徴収, or
-- null when the month of leaving decides.
CREATE TABLE 住民税月額 (
    氏名     TEXT,
    年度     INTEGER,
    市区町村 TEXT,
    "6月"    INTEGER,
    "7月"    INTEGER,
    "8月"    INTEGER,
    "9月"    INTEGER,
    "10月"   INTEGER,
    "11月"   INTEGER,
    "12月"   INTEGER,
    "1月"    INTEGER,
    "2月"    INTEGER,
    "3月"    INTEGER,
    "4月"    INTEGER,
    "5月"    INTEGER,
    退職後   TEXT,
    PRIMARY KEY (氏名, 年度)
);

-- What each employee declared for a year's 年末調整, one row per 氏名 + 年
-- (the 年分): the 扶養控除等申告書 (本人の障害, 寡婦・ひとり親, 勤労学生), the
-- 基礎控除申告書 (給与以外の所得の見積額), the 配偶者控除等申告書 (配偶者氏名
-- null: no spouse), the 保険料控除申告書, the 住宅借入金等特別控除 typed and a
-- newcomer's 前職分. Whole yen; dates yyyymmdd; yes/no 0 / -1.
CREATE TABLE 年末調整申告 (
    氏名               TEXT,
    年                 INTEGER,
    本人障害           TEXT,
    寡婦ひとり親       TEXT,
    勤労学生           INTEGER,
    給与以外所得       INTEGER,
    配偶者氏名         TEXT,
    配偶者生年月日     TEXT,
    配偶者所得         INTEGER,
    配偶者障害         TEXT,
    一般生命新         INTEGER,
    一般生命旧         INTEGER,
    介護医療           INTEGER,
    個人年金新         INTEGER,
    個人年金旧         INTEGER,
    地震保険料         INTEGER,
    旧長期損害保険料   INTEGER,
    社会保険料         INTEGER,
    小規模企業共済等掛金 INTEGER,
    住宅借入金等特別控除 INTEGER,
    前職支払金額       INTEGER,
    前職社会保険料     INTEGER,
    前職源泉徴収税額   INTEGER,
    PRIMARY KEY (氏名, 年)
);

-- The relatives of each 申告書 (扶養親族, 16歳未満 included, and 特定親族), in
-- the order typed.
CREATE TABLE 年末調整親族 (
    氏名       TEXT,
    年         INTEGER,
    行番号     INTEGER,
    親族氏名   TEXT,
    生年月日   TEXT,
    所得見積   INTEGER,
    同居老親等 INTEGER,
    障害       TEXT
);
CREATE INDEX 年末調整親族_氏名年 ON 年末調整親族 (氏名, 年);
