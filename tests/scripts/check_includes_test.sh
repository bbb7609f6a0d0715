#!/usr/bin/env bash
# The include check over a small tree of its own: which includes it lets through and which it
# refuses, one case per row.
#
#   tests/scripts/check_includes_test.sh SCRIPT
set -uo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{low,high,side,plugin,low/deeper}
touch "$work"/plugin/host_library.h

failures=0
# folder | allowed | line written into folder/a.cpp | expected exit status
while IFS='|' read -r folder allowed line expected; do
    [ -z "$folder" ] && continue
    rm -f "$work"/*/a.cpp "$work"/low/deeper/a.cpp
    printf '// a file\n%s\n' "$line" >"$work/$folder/a.cpp"
    # shellcheck disable=SC2086
    bash "$script" "$work" "$folder" $allowed >"$work/out" 2>&1
    status=$?
    if [ "$status" != "$expected" ]; then
        echo "FAIL: $folder may use [$allowed], '$line': exit $status, expected $expected" >&2
        sed 's/^/  /' "$work/out" >&2
        failures=$((failures + 1))
    elif [ "$expected" = 1 ] && ! grep -q "^$folder/a.cpp:2: includes " "$work/out"; then
        echo "FAIL: '$line' refused without naming the file and line:" >&2
        sed 's/^/  /' "$work/out" >&2
        failures=$((failures + 1))
    fi
done <<'CASES'
low||#include "low/own.h"|0
low||#include "high/up.h"|1
low||#include <high/up.h>|1
low||  #  include "high/up.h"|1
low||// #include "high/up.h"|0
low||#include <QtWidgets/QDialog>|0
low||#include "gtest/gtest.h"|0
low||#include <cstdio>|0
low||#include "own_plain.h"|0
low|plugin/host_library.h|#include "plugin/host_library.h"|0
low|plugin/host_library.h|#include "plugin/figure_plugin.h"|1
high|low|#include "low/own.h"|0
high|low|#include "low/deeper/x.h"|0
high|low|#include "side/x.h"|1
high|low side|#include "side/x.h"|0
low/deeper||#include "low/own.h"|1
low/deeper|low|#include "low/own.h"|0
CASES

# A folder that is not there is a usage error, not a pass.
bash "$script" "$work" missing >/dev/null 2>&1
if [ $? != 2 ]; then
    echo "FAIL: a missing folder was not refused as a usage error" >&2
    failures=$((failures + 1))
fi

[ $failures -eq 0 ] && echo "all cases passed"
exit $((failures != 0))
