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
