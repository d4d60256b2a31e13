#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes what a package bundles and under which licences: Velmarch-licenses/
# with each component's licence text and Velmarch-THIRD-PARTY.txt naming each
# component, its version, its licence and where its source is. The names
# carry the launcher's, since the launcher's folder is the mod's too.
#
#   write-third-party.sh linux BUNDLE-FOLDER SOURCE-FOLDER
#       every library and plugin in the bundle, looked up in the Debian
#       package it was copied from
#   write-third-party.sh windows PACKAGE-FOLDER SOURCE-FOLDER QT-PREFIX LINK-MAP
#       Qt, built from Debian's source as static libraries, the code from
#       elsewhere in Qt's source and the MinGW-w64 runtime, all linked into
#       the program, as the linker's map of the program says
set -eu
kind=$1
out=$2
source_folder=$3
licenses="$out/Velmarch-licenses"
list="$out/Velmarch-THIRD-PARTY.txt"
mkdir -p "$licenses"

entry() { # NAME VERSION LICENCE LICENCE-FILE SOURCE [FILES]
    {
        echo "$1"
        echo "  Version: $2"
        [ -z "${6:-}" ] || echo "  Files: $6"
        echo "  Licence: $3 (Velmarch-licenses/$4)"
        echo "  Source: $5"
        echo
    } >>"$list"
}

# The licence of a Debian copyright file's "Files: *" paragraph.
main_licence() {
    awk '/^Files: *\*$/ { main = 1; next } /^$/ { main = 0 } main && /^License:/ { sub(/^License: */, ""); print; exit }' "$1" |
        grep . || echo "see its copyright file"
}

# A Debian package, its copyright file as its licence text; LICENCE where
# the part taken is not under the package's main licence.
debian_entry() { # PACKAGE FILES [LICENCE]
    licence=${3:-$(main_licence "/usr/share/doc/$1/copyright")}
    fields=$(dpkg-query -W -f '${Version} ${source:Package} ${source:Version}' "$1")
    set -- "$1" "$2" $fields
    cp "/usr/share/doc/$1/copyright" "$licenses/$1.txt"
    entry "$1" "$3" "$licence" "$1.txt" "Debian source package $4 $5 (apt-get source $4=$5)" "$2"
}

version=$(sed -n 's/^project(Velmarch VERSION \([0-9.]*\).*/\1/p' "$source_folder/CMakeLists.txt")
{
    echo "What this package holds beside the launcher itself, and under which licences."
    echo "Each licence text is in Velmarch-licenses/; each source named is Debian's, in its archive."
    echo "The release that holds this download also holds Velmarch-$version-source.tar.gz, the"
    echo "launcher's source, and Velmarch-$version-debian-sources.tar, the Debian source packages of"
    echo "every part below under a copyleft licence. For three years after a release anyone may"
    echo "also ask for them on a medium, for the cost of making and sending it, on the mod's forum."
    echo
} >"$list"
cp "$source_folder/LICENSE" "$licenses/Velmarch.txt"
entry Velmarch "$version" GPL-3.0-or-later Velmarch.txt "Velmarch-$version-source.tar.gz, beside this download in its release"
cp "$source_folder/resources/font-LICENSE.txt" "$licenses/font.txt"
entry "JSL Ancient (Caladea Regular, renamed), the font inside the program" 1.001 OFL-1.1 font.txt \
    "https://github.com/huertatipografica/Caladea"

if [ "$kind" = linux ]; then
    # Libraries of one package share an entry.
    (cd "$out" && find lib plugins -type f | sort) | while read -r file; do
        package=$(dpkg -S "*/${file##*/}" 2>/dev/null | head -n 1 | cut -d: -f1)
        [ -n "$package" ] || {
            echo "third-party: no Debian package holds ${file##*/}" >&2
            exit 1
        }
        echo "$package $file"
    done | awk '{ files[$1] = files[$1] (files[$1] ? ", " : "") $2 } END { for (p in files) print p, files[p] }' |
        sort | while read -r package files; do
        debian_entry "$package" "$files"
    done
else
    # Qt for Windows, built from Debian's source package (its copyright file,
    # the version built and the licence texts of the libraries Qt carries in
    # its source are kept with the build).
    qt=$4
    map=$5
    qt_version=$(cat "$qt/licenses/qtbase.version")
    cp "$qt/licenses/qtbase.copyright" "$licenses/Qt.txt"
    cp "$qt/licenses/qtbase.configure" "$licenses/Qt-configure.txt"
    entry "Qt (Core, Gui, Widgets; Windows platform, Vista style and GIF, ICO and JPEG image plugins)" "$qt_version" \
        "$(main_licence "$qt/licenses/qtbase.copyright")" Qt.txt \
        "Debian source package qtbase-opensource-src $qt_version (apt-get source qtbase-opensource-src=$qt_version), built by scripts/build-qt-mingw.sh with the options in Velmarch-licenses/Qt-configure.txt" \
        "linked into the program"
    # The code from elsewhere in Qt's source that the program holds.
    "$source_folder/scripts/qt-attributions.pl" "$qt" "$map" "$licenses" >"$out/qt-attributions.tsv"
    while IFS='	' read -r name part_version licence folder source; do
        entry "$name" "$part_version" "$licence" "$folder" "$source"
    done <"$out/qt-attributions.tsv"
    rm "$out/qt-attributions.tsv"
    # The compiler's runtime and MinGW-w64's.
    debian_entry gcc-mingw-w64-x86-64-posix-runtime "libgcc and libstdc++, linked into the program" \
        "GPL-3+ with the GCC Runtime Library Exception 3.1"
    debian_entry mingw-w64-x86-64-dev \
        "winpthreads, and the C runtime's start-up code and helpers linked into the program" \
        "ZPL-2.1, expat (winpthreads) and the others its copyright file names"
    # Every other library the linker took from must be one of those.
    sed -n 's/^\(\/[^ (]*\.a\)(.*/\1/p' "$map" | sort -u | while read -r library; do
        case $library in "$qt"/*) continue ;; esac
        package=$(dpkg -S "$(realpath "$library")" 2>/dev/null | head -n 1 | cut -d: -f1)
        source_package=$(dpkg-query -W -f '${source:Package}' "$package" 2>/dev/null) &&
            grep -q "^  Source: Debian source package $source_package " "$list" || {
            echo "third-party: the program links $library, which no entry covers" >&2
            exit 1
        }
    done
fi

# Debian's copyright files point to the common licences' full texts on a
# Debian system; a player's system may have none, so they come along.
grep -ho '/usr/share/common-licenses/[A-Za-z0-9.+-]*[A-Za-z0-9+]' "$licenses"/*.txt | sort -u |
    while read -r text; do
        [ -f "$text" ] || continue
        mkdir -p "$licenses/common-licenses"
        cp "$text" "$licenses/common-licenses/"
    done
