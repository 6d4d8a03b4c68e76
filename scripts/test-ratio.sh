#!/usr/bin/env bash
# Prints the size of the tests against the code: non-blank C++ lines (.cpp, .h) of the sources
# under tests/ and everywhere else, and their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/sources.sh
count() { source_files "$@" | xargs -0 cat | grep -cv '^[[:space:]]*$'; }
tests=$(count 'tests/*.cpp' 'tests/*.h')
code=$(count '*.cpp' '*.h' '!tests/*')
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d / code %d = %.2f\n", t, c, t / c }'
