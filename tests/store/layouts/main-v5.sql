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
