#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the players' README of one download from the players' guide
# (docs/players.md) as plain text: the guide without the other platform's
# steps, Markdown's marks taken out, tables as lists. The Windows one has
# Windows' line ends and a byte-order mark, which Notepad needs.
#
#   players-readme.sh windows|linux OUT
set -eu
guide="$(dirname "$0")/../docs/players.md"
case $1 in
    windows) other="|On Linux|On the Steam Deck|" ;;
    linux) other="|On Windows|" ;;
    *)
        echo "players-readme: windows or linux, not $1" >&2
        exit 2
        ;;
esac
[ -s "$guide" ] || {
    echo "players-readme: $guide is missing" >&2
    exit 1
}
text=$(awk -v other="$other" '
    # Markdown marks out: code quotes, bold, links.
    function plain(s) {
        gsub(/`/, "", s); gsub(/\*\*/, "", s)
        while (match(s, /\[[^]]*\]\([^)]*\)/)) {
            link = substr(s, RSTART + 1, RLENGTH - 1); sub(/\].*/, "", link)
            s = substr(s, 1, RSTART - 1) link substr(s, RSTART + RLENGTH)
        }
        return s
    }
    # Prints s in lines of at most 78 characters, the first after lead and
    # the next after indent.
    function wrap(s, lead, indent,    words, n, i, line) {
        n = split(s, words, / +/); line = lead
        for (i = 1; i <= n; i++) {
            if (line != lead && line != indent && length(line) + 1 + length(words[i]) > 78) {
                print line; line = indent
            }
            line = line ((line == lead || line == indent) ? "" : " ") words[i]
        }
        print line
    }
    /^```/ { code = !code; next }
    code { if (!skip) print "    " $0; next }
    /^## / {
        title = substr($0, 4)
        skip = index(other, "|" title "|") > 0
        if (!skip) { line = title; gsub(/./, "-", line); print ""; print title; print line }
        next
    }
    skip { next }
    /^# / { title = substr($0, 3); line = title; gsub(/./, "=", line); print title; print line; next }
    /^\|/ {
        # A table: its heading row and rule left out, each row an item.
        if (!table) { table = 1; next }
        if ($0 ~ /^\|[-| ]*\|$/) next
        split(substr($0, 3, length($0) - 4), cell, / \| /)
        wrap(plain(cell[1]), "* ", "  ")
        wrap(plain(cell[2]), "  -> ", "     ")
        next
    }
    {
        # Prose, wrapped under its own indent, a list item under its text.
        table = 0
        match($0, /^ */); lead = substr($0, 1, RLENGTH); indent = lead
        if (match($0, /^ *([-*]|[0-9]+\.) /)) indent = sprintf("%" RLENGTH "s", "")
        wrap(plain(substr($0, length(lead) + 1)), lead, indent)
    }
' "$guide")
if [ "$1" = windows ]; then
    { printf '\357\273\277'; echo "$text" | sed 's/$/\r/'; } >"$2"
else
    echo "$text" >"$2"
fi
