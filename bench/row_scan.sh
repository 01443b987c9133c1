#!/bin/bash
# Tries one more pattern row at every place in a table: for each row (a, b, c) with a in A-VALUES
# and b, c in BC-VALUES (by default -1 0 1 2 3 5 10), and each of PLACES (by default 3 to 12), the
# row goes in there, the row IDLE is taken out so the table keeps 14 rows, and forks plays GAMES
# games on each side. With IDLE as the one place, the row replaces row IDLE.
# Prints "a,b,c@place loss%-user-opens loss%-computer-opens", one table a line.
#   bash bench/row_scan.sh ARENA TABLE IDLE "A-VALUES" [GAMES] [SEED] ["PLACES"] ["BC-VALUES"]
set -euo pipefail
arena=$1 table=$2 idle=$3 avalues=$4 games=${5:-1500} seed=${6:-101}
places=${7:-3 4 5 6 7 8 9 10 11 12} bcvalues=${8:--1 0 1 2 3 5 10}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for a in $avalues; do
    for b in $bcvalues; do
        for c in $bcvalues; do
            [ "$b" = -1 ] && [ "$c" != -1 ] && continue # c is not read without b
            for place in $places; do
                # The table's last 14 non-blank lines are the pattern rows.
                awk -v idle="$idle" -v place="$place" -v row="$a,$b,$c" '
                    NF { line[++n] = $0 }
                    END {
                        for (i = 1; i <= n - 14; ++i) print line[i]
                        k = 0
                        for (r = 1; r <= 14; ++r) if (r != idle) rows[++k] = line[n - 14 + r]
                        k = 0
                        for (r = 1; r <= 14; ++r) print (r == place ? row : rows[++k])
                    }' "$table" >"$tmp/t.dat"
                result=$("$arena" play "$tmp/t.dat" --games "$games" --seed "$seed" --opponents forks \
                    --threads 1 2>/dev/null | awk -F'|' 'NR > 2 { printf " %s", $6 + 0 }')
                echo "$a,$b,$c@$place$result"
            done
        done
    done
done
