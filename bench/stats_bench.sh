#!/usr/bin/env bash
# Times brimsoll-report on a large generated database against the one grouped
# statement in the sqlite3 shell on the same file, and prints the ratios and
# the peak memory of each report.
#   bash bench/stats_bench.sh [BUILD_DIR]      (default: build)
# Goals: base table within 1.5x the grouped statement, allocation within 3x,
# peak memory under 500 MB.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
report="$build/bin/brimsoll-report"
[ -x "$report" ] || { echo "build brimsoll-report first (cmake --build $build --target brimsoll-report)"; exit 1; }
command -v sqlite3 >/dev/null || { echo "sqlite3 is needed"; exit 1; }

db="$build/bench-data/stats.db"
if [ ! -f "$db" ]; then
    mkdir -p "$(dirname "$db")"
    echo "generating $db ..."
    sqlite3 "$db.new" < db/schema.sql
    sqlite3 "$db.new" < bench/stats_data.sql
    sqlite3 "$db.new" "PRAGMA journal_mode = DELETE; ANALYZE;" >/dev/null
    mv "$db.new" "$db"
fi

# Seconds (wall) and peak resident memory (kB) of a command; output discarded.
[ -x /usr/bin/time ] || { echo "GNU time is needed (apt-get install time)"; exit 1; }
measure() {
    local t0 t1 stats
    stats=$(mktemp)
    t0=$(date +%s.%N)
    /usr/bin/time -f '%M' -o "$stats" "$@" >/dev/null 2>&1 || true
    t1=$(date +%s.%N)
    echo "$(echo "$t1 - $t0" | bc -l) $(tail -n 1 "$stats")"
    rm -f "$stats"
}

grouped="Select CustCode,DepartCode,EmpID,Sum(Total) from TBillDetail where OcrDate>='2026-11-01' and OcrDate<'2026-12-01' Group By CustCode,DepartCode,EmpID"
# Warm the file cache once, then take the best of three for each.
sqlite3 "$db" "$grouped" >/dev/null
best() {
    local best_t=999999 best_m=0 t m
    for _ in 1 2 3; do
        read -r t m < <(measure "$@")
        if (( $(echo "$t < $best_t" | bc -l) )); then best_t=$t; fi
        if (( m > best_m )); then best_m=$m; fi
    done
    echo "$best_t $best_m"
}
read -r t_sql _ < <(best sqlite3 "$db" "$grouped")
read -r t_base m_base < <(best "$report" --db "$db" --from 2026-11-01 --to 2026-11-30)
read -r t_calc m_calc < <(best "$report" --db "$db" --from 2026-11-01 --to 2026-11-30 --allocation)

printf 'grouped statement (sqlite3 shell): %.3f s\n' "$t_sql"
printf 'base table:        %.3f s  ratio %.2f (goal <= 1.5)  peak %d MB\n' "$t_base" "$(echo "$t_base / $t_sql" | bc -l)" $((m_base / 1024))
printf 'allocation table:  %.3f s  ratio %.2f (goal <= 3.0)  peak %d MB (goal < 500)\n' "$t_calc" "$(echo "$t_calc / $t_sql" | bc -l)" $((m_calc / 1024))
