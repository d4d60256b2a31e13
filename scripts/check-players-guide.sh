#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails unless the players' guide (docs/players.md) holds the text of every
# box the launcher shows: each piece of each message between its
# placeholders, as the code spells it.
set -eu
cd "$(dirname "$0")/.."
guide=docs/players.md
[ -s "$guide" ] || {
    echo "check-players-guide: $guide is missing" >&2
    exit 1
}
# The boxes' sentences: the string literals of the files that word them,
# adjacent ones joined, cut at their placeholders (%1) and line breaks.
pieces=$(cat installation/playernames.cpp press/messages.cpp press/checks.cpp press/workout.cpp app/windowtexts.cpp launch/launchtexts.cpp |
    awk '
        { line = $0 }
        inside && line !~ /^[ \t]*"/ { print text; inside = 0 }
        {
            while (match(line, /"([^"\\]|\\.)*"/)) {
                literal = substr(line, RSTART + 1, RLENGTH - 2)
                before = substr(line, 1, RSTART - 1)
                if (inside && before ~ /^[ \t]*$/) text = text literal
                else { if (inside) print text; text = literal; inside = 1 }
                line = substr(line, RSTART + RLENGTH)
                if (line !~ /^[ \t]*$/) { print text; inside = 0 }
            }
        }
        END { if (inside) print text }' |
    sed 's/\\n/\n/g; s/\\"/"/g; s/%[0-9]/\n/g' | sed 's/^[ .,:;]*//; s/[ .,:;]*$//' |
    awk 'length($0) >= 12 && /^[A-Za-z]/ && / /')
[ -n "$pieces" ] || {
    echo "check-players-guide: no box texts found in the code" >&2
    exit 1
}
# The guide as a player reads it: without Markdown's marks, one line.
text=$(sed 's/`//g; s/\*\*//g' "$guide" | tr '\n' ' ' | tr -s ' ')
missing=$(echo "$pieces" | while IFS= read -r piece; do
    case "$text" in
        *"$piece"*) ;;
        *) echo "  $piece" ;;
    esac
done)
if [ -n "$missing" ]; then
    echo "check-players-guide: $guide lacks these box texts:" >&2
    echo "$missing" >&2
    exit 1
fi
echo "check-players-guide: $(echo "$pieces" | wc -l) pieces of box texts, each in $guide"
