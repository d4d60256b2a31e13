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
recipe=$(sha256sum "$top/scripts/build-qt-mingw.sh" | cut -c1-12)
cache=${VELMARCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmarch}
prefix="$cache/qt5-mingw-$qt_version-$recipe"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

"$top/scripts/setup.sh" windows >&2

# apt-get source needs a deb-src entry; Debian's images often carry only deb.
# The source entries mirror the machine's own Debian entries, so the source
# comes from whatever mirror this machine already uses.
if ! grep -rqs '^\(Types:.*deb-src\|deb-src \)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "build-qt-mingw: adding Debian's source archive to apt" >&2
    as_root=""
    [ "$(id -u)" -eq 0 ] || as_root="sudo"
    "$top/scripts/debian-source-entries.sh" \
        | $as_root tee /etc/apt/sources.list.d/velmarch-deb-src.list >/dev/null
    $as_root apt-get update -qq
fi

work="$cache/qt5-mingw-build-$recipe"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
echo "build-qt-mingw: fetching qtbase's source (Debian)" >&2
apt-get source -qq qtbase-opensource-src >&2
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "qtbase-opensource-src-$qt_version*")
if [ -z "$source_dir" ]; then
    echo "build-qt-mingw: Debian's qtbase source is not $qt_version:" "$work"/*.dsc >&2
    exit 1
fi

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
"$source_dir/configure" -prefix "$prefix" -opensource -confirm-license \
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
    -release -static -static-runtime -nomake examples -nomake tests \
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype \
    -no-opengl -no-dbus -no-icu -no-openssl -no-feature-tabletevent \
    -no-sql-sqlite -no-sql-odbc -no-sql-psql -no-sql-mysql -no-sql-db2 \
    -no-sql-ibase -no-sql-oci -no-sql-tds -no-sql-sqlite2 \
    >"$work/configure.log" 2>&1 || {
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
# copyright file, the source package's version, and the licence texts of Qt
# and of the libraries built into it.
mkdir -p "$prefix/licenses"
cp "$source_dir/debian/copyright" "$prefix/licenses/qtbase.copyright"
(cd "$source_dir" && dpkg-parsechangelog -S Version) >"$prefix/licenses/qtbase.version"
(cd "$source_dir" && find LICENSE.* src/3rdparty -type f \( -name 'LICENSE*' -o -name 'LICENCE*' \
    -o -name 'COPYING*' -o -name FTL.TXT -o -name qt_attribution.json \) \
    -exec cp --parents {} "$prefix/licenses/" \;)
touch "$prefix/.complete"
cd "$cache"
rm -rf "$work"
# Builds of earlier recipes are of no more use.
for other in "$cache"/qt5-mingw-*; do
    [ "$other" = "$prefix" ] || rm -rf "$other"
done
echo "$prefix"
