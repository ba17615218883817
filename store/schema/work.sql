-- PelmarWork.mdb: the scratch tables behind the editable grids, refilled by
-- the pages' clear and read operations, and the hint texts. Each grid table
-- has an integer key so that an edited cell is written back to exactly its
-- own row.

-- The lines of the statement being edited: 60 numbered rows after a reset.
CREATE TABLE w明細 (
    行番号     INTEGER PRIMARY KEY,
    -- the line columns of 時給明細, in its order
    日付 TEXT, 開始時間 TEXT, 終了時間 TEXT, 休憩 REAL, 時間 REAL, 時給 REAL, 調整額 REAL, 金額 REAL,
    深夜 REAL, 時間外 REAL, 割増額 REAL, 休日 REAL, 時間外60超 REAL
);

-- The employee page: 100 numbered rows after a reset. チェック is 0 or -1.
CREATE TABLE w従業員 (
    "No"       INTEGER PRIMARY KEY,
    チェック   INTEGER DEFAULT 0,
    -- the columns of 従業員 after its "No", in its order
    氏名 TEXT, 時給 REAL, 勤務形態 TEXT, 開始時間 TEXT, 終了時間 TEXT, 休憩時間 REAL, 実労時間 REAL
);

-- The shift-type page: ten rows "A" to "J" after a reset.
CREATE TABLE w勤務形態 (
    "No"       INTEGER PRIMARY KEY,
    -- the columns of 勤務形態マスタ after its "No", in its order
    タイプ TEXT, 開始時間 TEXT, 終了時間 TEXT, 休憩時間 REAL, 実労時間 REAL
);

-- A copy of the shift-type master behind the employee page's drop-down list.
CREATE TABLE w勤務形態参照 (
    タイプ TEXT, 開始時間 TEXT, 終了時間 TEXT, 休憩時間 REAL, 実労時間 REAL
);

-- The history list, a snapshot of the saved statements.
CREATE TABLE w履歴 (
    氏名       TEXT,
    合計       REAL,
    タイトル   TEXT
);

-- Each page's hint text, one row per window and hint button. Not scratch:
-- it is never reset.
CREATE TABLE ClHint (
    FormName   TEXT,
    CtlName    TEXT,
    FormTitle  TEXT,
    Contents   TEXT
);
