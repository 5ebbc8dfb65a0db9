#!/usr/bin/env bash
# Regenerates the Java reference table that the engine utility tests read
# (tests/engineutil/data/insert_number.txt). Needs a Java 17 runtime; CI
# only reads the committed table.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
java "$here/EngineTables.java" "$root/tests/engineutil/data"
