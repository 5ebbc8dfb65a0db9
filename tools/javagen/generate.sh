#!/usr/bin/env bash
# Regenerates the Java reference tables that the string tests read
# (tests/strings/data/*.txt). Needs a Java 17 runtime; CI only reads the
# committed tables.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
java "$here/StringTables.java" "$root/tests/strings/data"
