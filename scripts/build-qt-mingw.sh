#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 5 (qtbase) for 64-bit Windows from Debian's own source with the
# MinGW-w64 cross compilers, once per machine, and prints its prefix. Qt is
# built as static libraries with the compiler's runtime linked in, so that
# the players' program is one file that needs no DLL beside it.
#
# The result is cached outside the clone, in a folder named after a digest
# of this script, so that a changed recipe builds anew and an unchanged one
# is reused. VELMARCH_CACHE moves the cache (default ~/.cache/velmarch).
set -eu
cd "$(dirname "$0")/.."
top=$PWD

qt_version=5.15.8
qt_source=qtbase-opensource-src
qt_debian_version=5.15.8+dfsg-11+deb12u3
qt_dsc_sha256=f442936526e336a033acb1021bfed0d59b42ee520483a015cf245478c75b3b7f
recipe=$(sha256sum "$top/scripts/build-qt-mingw.sh" | cut -c1-12)
cache=${VELMARCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmarch}
prefix="$cache/qt5-mingw-$qt_version-$recipe"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

"$top/scripts/setup.sh" windows >&2

work="$cache/qt5-mingw-build-$recipe"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
# The very source Debian published, checked against the digest of its
# description (.dsc), which in turn holds the digests of the archives and of
# Debian's patches that dpkg-source checks as it unpacks them.
echo "build-qt-mingw: fetching qtbase's source (Debian's $qt_source $qt_debian_version)" >&2
"$top/scripts/debian-source.sh" "$qt_source=$qt_debian_version" >&2 || {
    echo "build-qt-mingw: to build from a later version, name it and its .dsc's sha256 here" >&2
    exit 1
}
dsc="${qt_source}_$qt_debian_version.dsc"
echo "$qt_dsc_sha256  $dsc" | sha256sum --check --quiet >&2 || {
    echo "build-qt-mingw: $dsc is not the one this recipe names" >&2
    exit 1
}
dpkg-source -x "$dsc" >"$work/unpack.log" 2>&1 || {
    cat "$work/unpack.log" >&2
    exit 1
}
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "$qt_source-$qt_version*")

# Qt's win32-g++ platform files call ${CROSS_COMPILE}gcc and g++; point those at the
# posix-thread compilers, whose C++ library has std::mutex (Qt Test needs it).
tools="$work/tools"
mkdir -p "$tools"
for tool in gcc g++; do
    ln -sf "$(command -v "x86_64-w64-mingw32-$tool-posix")" "$tools/x86_64-w64-mingw32-$tool"
done
PATH="$tools:$PATH"
export PATH

mkdir -p "$work/build"
cd "$work/build"
echo "build-qt-mingw: configuring (a few minutes)" >&2
# Tablet events are off: Debian's source leaves out the third-party header
# that the Windows platform plugin would include for them.
set -- -prefix "$prefix" -opensource -confirm-license \
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
    -release -static -static-runtime -nomake examples -nomake tests \
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype \
    -no-opengl -no-dbus -no-icu -no-openssl -no-feature-tabletevent \
    -no-sql-sqlite -no-sql-odbc -no-sql-psql -no-sql-mysql -no-sql-db2 \
    -no-sql-ibase -no-sql-oci -no-sql-tds -no-sql-sqlite2 \
    QMAKE_CFLAGS+=-MMD QMAKE_CXXFLAGS+=-MMD
"$source_dir/configure" "$@" >"$work/configure.log" 2>&1 || {
    tail -n 40 "$work/configure.log" >&2
    exit 1
}
echo "build-qt-mingw: building (about half an hour on two cores)" >&2
make -j"$(nproc)" >"$work/make.log" 2>&1 || {
    tail -n 40 "$work/make.log" >&2
    exit 1
}
make install >"$work/install.log" 2>&1 || {
    tail -n 40 "$work/install.log" >&2
    exit 1
}
# What the packages need to carry Qt's licences and name its source: Debian's
# copyright file, the source package's version, how Qt was configured, and
# the licence texts and attributions of the code from elsewhere in Qt's source.
mkdir -p "$prefix/licenses"
cp "$source_dir/debian/copyright" "$prefix/licenses/qtbase.copyright"
echo "$qt_debian_version" >"$prefix/licenses/qtbase.version"
{
    echo "configure $*" | sed "s|$prefix|PREFIX|g"
    echo
    sed "s|$prefix|PREFIX|g" "$work/build/config.summary"
} >"$prefix/licenses/qtbase.configure"
(cd "$source_dir" && find LICENSE.* src -type f \( -iname '*LICENSE*' -o -iname '*LICENCE*' \
    -o -name 'COPYING*' -o -name FTL.TXT -o -name 'GPL*.TXT' -o -name qt_attribution.json \) \
    ! -name '*.png' -exec cp --parents {} "$prefix/licenses/" \;)
# Each object of each library and plugin, with the files it is made of: the
# source file and all it includes, as the compiler found them (-MMD writes
# them beside each object, past #if), and for a compiled resource the files
# rcc packed, which qmake's rule for it names. A program's licence list names
# what its linked objects are made of. One line each, tab-separated:
# MAKEFILE, TARGET, DESTDIR_TARGET, OBJECT, FILE (from the source's top, or
# build/ and the file's place in the build for what the build generated).
(cd "$work/build" && find . -type f -name 'Makefile*' | LC_ALL=C sort | while read -r makefile; do
    awk -v makefile="${makefile#./}" -v dir="${makefile%/*}" \
        -v source="/${source_dir##*/}/" -v build="$work/build/" '
        function record(object, file, at) {
            if ((at = index(file, source)))
                file = substr(file, at + length(source))
            else if (index(file, build) == 1)
                file = "build/" substr(file, length(build) + 1)
            else if (file ~ /^\//)
                return # the compiler and its system headers
            else
                file = "build/" substr(dir "/", 3) file
            print makefile "\t" target "\t" destdir_target "\t" object "\t" file
        }
        # A rule or an assignment goes on over lines that end in a backslash.
        {
            line = $0
            while (line ~ /\\$/ && (getline more) > 0)
                line = substr(line, 1, length(line) - 1) " " more
        }
        line ~ /^TARGET[ \t]*=/ { split(line, word, " "); target = word[3] }
        line ~ /^DESTDIR_TARGET[ \t]*=/ { split(line, word, " "); destdir_target = word[3] }
        line ~ /^[^ \t#$][^ \t=]*:/ {
            n = split(line, word, " ")
            rule = word[1]
            sub(/:$/, "", rule)
            inputs[rule] = ""
            for (i = 2; i <= n; i++)
                inputs[rule] = inputs[rule] " " word[i]
            if (rule ~ /\.o$/)
                objects[++count] = rule
        }
        END {
            for (k = 1; k <= count; k++) {
                object = objects[k]
                depends = dir "/" object
                sub(/\.o$/, ".d", depends)
                found = ""
                while ((getline text <depends) > 0)
                    found = found " " text
                close(depends)
                n = split(found, word, " ")
                for (i = 1; i <= n; i++) {
                    if (word[i] == "\\" || word[i] ~ /:$/)
                        continue
                    record(object, word[i])
                    if (word[i] ~ /(^|\/)qrc_[^\/]*\.cpp$/ && word[i] in inputs) {
                        m = split(inputs[word[i]], input, " ")
                        for (j = 1; j <= m; j++)
                            if (input[j] != "\\")
                                record(object, input[j])
                    }
                }
            }
        }
    ' "$makefile"
done) | gzip -n >"$prefix/licenses/qtbase.objects.tsv.gz"
touch "$prefix/.complete"
cd "$cache"
rm -rf "$work"
# Builds of earlier recipes are of no more use.
for other in "$cache"/qt5-mingw-*; do
    [ "$other" = "$prefix" ] || rm -rf "$other"
done
echo "$prefix"
