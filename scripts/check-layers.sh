#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails on an include that runs up the code's layers, printing its line. The
# folders, bottom first; each includes only from those below it and itself.
# The window's declaration (app/zolmlauncher.h) is the one exception: the
# window's operations may be defined in their subsystem's folder, which
# includes it for that alone.
set -eu
cd "$(dirname "$0")/.."
layers="installation files gamescripts press staging launch app"
git ls-files 'installation/*' 'files/*' 'gamescripts/*' 'press/*' 'staging/*' 'launch/*' 'app/*' |
    grep -E '\.(cpp|h)$' | xargs grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]*/' |
    awk -v layers="$layers" '
        BEGIN { n = split(layers, names, " "); for (i = 1; i <= n; i++) rank[names[i]] = i }
        {
            file = $0; sub(/:.*/, "", file)
            from = file; sub(/\/.*/, "", from)
            included = $0; sub(/^[^"]*"/, "", included); sub(/".*/, "", included)
            to = included; sub(/\/.*/, "", to)
            if (!(to in rank) || included == "app/zolmlauncher.h") next
            if (rank[to] > rank[from]) { print "check-layers: " $0 " (" from " is below " to ")"; bad = 1 }
        }
        END { exit bad }' || {
    echo "check-layers: the layers, bottom first: $layers" >&2
    exit 1
}
