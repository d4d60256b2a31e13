#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails unless a package names each bundled FILE in its THIRD-PARTY.txt and
# carries every licence text that list refers to.
#
#   check-third-party.sh PACKAGE-FOLDER [FILE...]   (files relative to the folder)
set -eu
folder=$1
shift
fail() {
    echo "check-third-party: $*" >&2
    exit 1
}
list="$folder/THIRD-PARTY.txt"
[ -s "$list" ] || fail "the package has no THIRD-PARTY.txt"
for file in "$@"; do
    grep "^  Files:" "$list" | tr , '\n' | sed 's/^ *Files: *//; s/^ *//' | grep -qxF "$file" ||
        fail "$file is bundled but THIRD-PARTY.txt has no entry for it"
done
grep -o '(licenses/[^)]*)' "$list" | sed 's/^(//; s/)$//' | sort -u | while read -r text; do
    [ -s "$folder/$text" ] || fail "THIRD-PARTY.txt names $text, which the package does not hold"
done
echo "check-third-party: $# bundled files, $(grep -c '^  Licence:' "$list") components, each with its licence"
