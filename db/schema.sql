-- The database of the expense allocation system: seven tables related by codes.
-- Dates are ISO text "yyyy-MM-dd HH:mm:ss"; the file keeps a rollback journal so
-- that the file alone is the whole database.
PRAGMA journal_mode = DELETE;
PRAGMA encoding = 'UTF-8';

-- Departments: four digits of code per level, at most five levels.
CREATE TABLE TEmpClass (
    ID          INTEGER PRIMARY KEY AUTOINCREMENT,
    TypeCode    TEXT NOT NULL UNIQUE,
    TypeName    TEXT,
    ParTypeCode TEXT NOT NULL DEFAULT '',
    nLeveal     INTEGER NOT NULL DEFAULT 0
);

-- Expense categories: the same scheme, at most four levels.
CREATE TABLE TCustClass (
    ID          INTEGER PRIMARY KEY AUTOINCREMENT,
    TypeCode    TEXT NOT NULL UNIQUE,
    TypeName    TEXT,
    ParTypeCode TEXT NOT NULL DEFAULT '',
    nLeveal     INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE TEmployee (
    ID          INTEGER PRIMARY KEY AUTOINCREMENT,
    Code        TEXT,
    UserName    TEXT,
    Sex         INTEGER DEFAULT 0,
    TelePhone   TEXT,
    MobilePhone TEXT,
    EMail       TEXT,
    Address     TEXT,
    PostCode    TEXT,
    Desp        TEXT,
    TypeCode    TEXT,
    FuncCode    TEXT,
    ZZStu       INTEGER DEFAULT -1
);
CREATE INDEX TEmployee_TypeCode ON TEmployee (TypeCode);
CREATE INDEX TEmployee_Code ON TEmployee (Code);
CREATE INDEX TEmployee_FuncCode ON TEmployee (FuncCode);

-- Positions. Codes are unique regardless of case.
CREATE TABLE TFunc (
    ID       INTEGER PRIMARY KEY AUTOINCREMENT,
    FuncCode TEXT NOT NULL UNIQUE COLLATE NOCASE,
    FuncName TEXT
);

-- At most one allocation formula per position and expense category.
CREATE TABLE TFormula (
    ID           INTEGER PRIMARY KEY AUTOINCREMENT,
    FuncCode     TEXT NOT NULL,
    CustTypeCode TEXT NOT NULL,
    Formula      TEXT
);
CREATE UNIQUE INDEX TFormula_Pair ON TFormula (FuncCode, CustTypeCode);

-- A position that employees or formulas still name cannot be deleted.
CREATE TRIGGER TFunc_InUse BEFORE DELETE ON TFunc
WHEN EXISTS (SELECT 1 FROM TEmployee WHERE TEmployee.FuncCode = OLD.FuncCode)
  OR EXISTS (SELECT 1 FROM TFormula WHERE TFormula.FuncCode = OLD.FuncCode)
BEGIN
    SELECT RAISE(ABORT, 'the position is still in use');
END;

-- Expense records; names are copies taken at the time of entry.
CREATE TABLE TBillDetail (
    ID         INTEGER PRIMARY KEY AUTOINCREMENT,
    OcrDate    TEXT,
    CustCode   TEXT,
    CustName   TEXT,
    DepartCode TEXT,
    DepartName TEXT,
    EmpID      TEXT,
    EmpName    TEXT,
    Total      REAL DEFAULT 0,
    ContractNo TEXT,
    Provider   TEXT,
    Desp       TEXT
);
CREATE INDEX TBillDetail_OcrDate ON TBillDetail (OcrDate);
CREATE INDEX TBillDetail_CustCode ON TBillDetail (CustCode);
CREATE INDEX TBillDetail_DepartCode ON TBillDetail (DepartCode);
CREATE INDEX TBillDetail_EmpID ON TBillDetail (EmpID);

-- Program parameters: one row; ClientVer is the installed version (10 characters).
CREATE TABLE TPara (
    ClientVer TEXT
);
INSERT INTO TPara (ClientVer) VALUES ('2026.12.01');
