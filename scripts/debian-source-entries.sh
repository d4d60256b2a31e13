#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints one-line apt entries for Debian's archive as this machine's apt
# sources name it: the mirror, suites and components of every entry that is
# Debian's (signed by Debian's archive key, or whose path is .../debian), with
# the same signing key. "debian-source-entries.sh deb" prints binary entries, as a
# Debian root made by debootstrap needs; the default prints source entries.
set -eu
type=${1:-deb-src}

# deb822 files: one paragraph per entry.
for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v type="$type" '
        function flush() {
            if (types ~ /(^| )deb( |$)/ && (signed ~ /debian-archive-keyring/ || uris ~ /\/debian\/?( |$)/)) {
                n = split(uris, u, " ")
                for (i = 1; i <= n; i++) print type, (signed == "" ? "-" : signed), u[i], suites "|" comps
            }
            types = uris = suites = comps = signed = ""
        }
        /^[ \t]*$/ { flush(); next }
        /^#/ { next }
        /^Types:/ { sub(/^Types:[ \t]*/, ""); types = $0 }
        /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
        /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
        /^Components:/ { sub(/^Components:[ \t]*/, ""); comps = $0 }
        /^Signed-By:/ { sub(/^Signed-By:[ \t]*/, ""); signed = $0 }
        END { flush() }
    ' "$file"
done | while read -r kind key uri rest; do
    suites=${rest%%|*}
    comps=${rest#*|}
    # The same key as the binary entry: apt refuses one source with two.
    options=""
    [ "$key" = "-" ] || options="[signed-by=$key] "
    for suite in $suites; do
        echo "$kind $options$uri $suite $comps"
    done
done

# One-line entries.
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    sed -n 's/^deb \(\[[^]]*\] \)\{0,1\}\([^ ]*\/debian\/\{0,1\}\) \(.*\)$/'"$type"' \1\2 \3/p' "$file"
done
