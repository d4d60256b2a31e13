#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails unless a package names each bundled FILE in its Velmarch-THIRD-PARTY.txt
# and carries every licence text that list refers to, a folder of them with
# at least one text in it, and every other file of Velmarch-licenses/ it names.
#
#   check-third-party.sh PACKAGE-FOLDER [FILE...]   (files relative to the folder)
set -eu
folder=$1
shift
fail() {
    echo "check-third-party: $*" >&2
    exit 1
}
list="$folder/Velmarch-THIRD-PARTY.txt"
[ -s "$list" ] || fail "the package has no Velmarch-THIRD-PARTY.txt"
grep -q '^  Licence:' "$list" || fail "Velmarch-THIRD-PARTY.txt names no component"
for file in "$@"; do
    grep "^  Files:" "$list" | tr , '\n' | sed 's/^ *Files: *//; s/^ *//' | grep -qxF "$file" ||
        fail "$file is bundled but Velmarch-THIRD-PARTY.txt has no entry for it"
done
grep -o 'Velmarch-licenses/[A-Za-z0-9._/+-]*' "$list" | sed 's/\.$//' | sort -u | while read -r text; do
    if [ -d "$folder/$text" ]; then
        [ -n "$(find "$folder/$text" -type f -size +0)" ] ||
            fail "Velmarch-THIRD-PARTY.txt names $text, a folder with no licence text in it"
    else
        [ -s "$folder/$text" ] ||
            fail "Velmarch-THIRD-PARTY.txt names $text, which the package does not hold"
    fi
done
echo "check-third-party: $# bundled files, $(grep -c '^  Licence:' "$list") components, each with its licence"
