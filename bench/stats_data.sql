-- A large organisation for the statistics benchmark, run after db/schema.sql:
-- 200 departments in four levels, 2,000 employees, 20 positions, 310 expense
-- categories in three levels, a formula for every position and leaf category,
-- and 1,000,000 expenses in November 2026.
PRAGMA journal_mode = OFF;
PRAGMA synchronous = OFF;
BEGIN;

-- Departments: 2 top, 3 below each, 4 below those, 7 below those (2+6+24+168).
WITH RECURSIVE
  l0(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM l0 WHERE i < 2),
  l1(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM l1 WHERE i < 3),
  l2(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM l2 WHERE i < 4),
  l3(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM l3 WHERE i < 7)
INSERT INTO TEmpClass (TypeCode, TypeName, ParTypeCode, nLeveal)
SELECT printf('%04d', l0.i), '事业部' || l0.i, '', 0 FROM l0
UNION ALL
SELECT printf('%04d%04d', l0.i, l1.i), '分部' || l0.i || '-' || l1.i, printf('%04d', l0.i), 1 FROM l0, l1
UNION ALL
SELECT printf('%04d%04d%04d', l0.i, l1.i, l2.i), '部门' || l0.i || l1.i || l2.i, printf('%04d%04d', l0.i, l1.i), 2
  FROM l0, l1, l2
UNION ALL
SELECT printf('%04d%04d%04d%04d', l0.i, l1.i, l2.i, l3.i), '小组' || l0.i || l1.i || l2.i || l3.i,
       printf('%04d%04d%04d', l0.i, l1.i, l2.i), 3 FROM l0, l1, l2, l3;

-- Categories: 10 top, 5 below each, 5 below those (10+50+250).
WITH RECURSIVE
  c0(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c0 WHERE i < 10),
  c1(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c1 WHERE i < 5),
  c2(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c2 WHERE i < 5)
INSERT INTO TCustClass (TypeCode, TypeName, ParTypeCode, nLeveal)
SELECT printf('%04d', c0.i), '费用' || c0.i, '', 0 FROM c0
UNION ALL
SELECT printf('%04d%04d', c0.i, c1.i), '科目' || c0.i || '-' || c1.i, printf('%04d', c0.i), 1 FROM c0, c1
UNION ALL
SELECT printf('%04d%04d%04d', c0.i, c1.i, c2.i), '明细' || c0.i || c1.i || c2.i, printf('%04d%04d', c0.i, c1.i), 2
  FROM c0, c1, c2;

WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < 20)
INSERT INTO TFunc (FuncCode, FuncName) SELECT printf('P%02d', i), '职位' || i FROM p;

-- 2,000 employees spread over the 168 groups of the lowest level.
CREATE TEMP TABLE grp AS SELECT row_number() OVER (ORDER BY TypeCode) - 1 AS n, TypeCode FROM TEmpClass WHERE nLeveal = 3;
WITH RECURSIVE e(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM e WHERE i < 1999)
INSERT INTO TEmployee (Code, UserName, Sex, TypeCode, FuncCode, ZZStu)
SELECT grp.TypeCode || printf('%04d', e.i / 168 + 1), '员工' || e.i, e.i % 2, grp.TypeCode,
       printf('P%02d', e.i % 20 + 1), 1
  FROM e JOIN grp ON grp.n = e.i % 168;

-- A formula for every position and leaf category, naming that category and
-- one department per position.
CREATE TEMP TABLE dep AS SELECT row_number() OVER (ORDER BY TypeCode) AS n, TypeCode, TypeName FROM TEmpClass WHERE nLeveal = 2;
INSERT INTO TFormula (FuncCode, CustTypeCode, Formula)
SELECT f.FuncCode, c.TypeCode,
       '{COUNT ' || d.TypeCode || ':' || d.TypeName || '\ ' || c.TypeCode || ':' || c.TypeName || '\}/' ||
       '{SUM_D ' || d.TypeCode || ':' || d.TypeName || '}*0.6+{SUM_F ' || f.FuncCode || ':' || f.FuncName || '}/10'
  FROM TFunc f, TCustClass c, dep d
 WHERE c.nLeveal = 2 AND d.n = CAST(substr(f.FuncCode, 2) AS INTEGER);

-- 1,000,000 expenses in November 2026 on leaf categories; one in eight for a department only.
CREATE TEMP TABLE emp AS SELECT row_number() OVER (ORDER BY ID) - 1 AS n, Code, UserName, TypeCode FROM TEmployee;
CREATE TEMP TABLE leaf AS SELECT row_number() OVER (ORDER BY TypeCode) - 1 AS n, TypeCode, TypeName FROM TCustClass WHERE nLeveal = 2;
WITH RECURSIVE b(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM b WHERE i < 999999)
INSERT INTO TBillDetail (OcrDate, CustCode, CustName, DepartCode, DepartName, EmpID, EmpName, Total, ContractNo, Provider, Desp)
SELECT printf('2026-11-%02d %02d:%02d:00', b.i % 30 + 1, b.i % 24, b.i % 60), leaf.TypeCode, leaf.TypeName,
       emp.TypeCode, '', CASE WHEN b.i % 8 = 0 THEN '' ELSE emp.Code END,
       CASE WHEN b.i % 8 = 0 THEN '' ELSE emp.UserName END, ((b.i * 7919) % 100000) / 100.0, ' ', ' ', ''
  FROM b JOIN emp ON emp.n = (b.i * 31) % 2000 JOIN leaf ON leaf.n = (b.i * 17) % 250;
COMMIT;
