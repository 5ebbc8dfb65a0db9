#!/usr/bin/env bash
# Regenerates the Java reference tables that the collection, random-number
# and data-stream tests read (tests/io/data/*.txt). Needs a Java 17 runtime;
# CI only reads the committed tables.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
java "$here/IoTables.java" "$root/tests/io/data"
