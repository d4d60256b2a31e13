#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a release of the commit checked out, in ./release, from builds of
# its own (./build-release-linux, ./build-release-windows):
#
#   Velmarch-VERSION-win64.zip, Velmarch-VERSION-linux-x86_64.tar.gz
#                                       the two downloads
#   Velmarch-VERSION-source.tar.gz      the launcher's source at that commit;
#                                       scripts/build-qt-mingw.sh in it says how
#                                       the Windows program's Qt was built
#   Velmarch-VERSION-debian-sources.tar Debian's source packages of every part
#                                       either download carries under a copyleft
#                                       licence, at the versions carried
#   SHA256SUMS                          the digests of those four
#
# The same commit gives the same bytes: every time in them is the commit's.
# Not part of the test command, which checks the downloads themselves.
set -eu
cd "$(dirname "$0")/.."
top=$PWD
fail() {
    echo "release: $*" >&2
    exit 1
}
[ -z "$(git status --porcelain --untracked-files=no)" ] || fail "the checkout has changes: commit them first"
version=$(sed -n 's/^project(Velmarch VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
# The resource compiler writes each file's time into the program otherwise.
QT_RCC_SOURCE_DATE_OVERRIDE=$SOURCE_DATE_EPOCH
export SOURCE_DATE_EPOCH QT_RCC_SOURCE_DATE_OVERRIDE
out="$top/release"
rm -rf "$out"
mkdir -p "$out"

scripts/setup.sh windows
scripts/setup.sh release
qt=$(scripts/build-qt-mingw.sh)

# Installs BUILD's program into a fresh STAGE, every time in it the commit's.
stage() {
    rm -rf "$2"
    cmake --build "$1" --target velmarch --parallel "$(nproc)"
    cmake --install "$1" --prefix "$2" --strip >/dev/null
    find "$2" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

linux="$top/build-release-linux"
rm -rf "$linux"
cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=Release -DVELMARCH_LINUX_BUNDLE=ON \
    -DVELMARCH_BUILD_TESTS=OFF -DVELMARCH_WERROR=ON >/dev/null
stage "$linux" "$linux/stage"
(cd "$linux/stage" && ls -A | LC_ALL=C sort | tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" \
    --owner=0 --group=0 --numeric-owner --format=gnu -cf - -T - | gzip -n -9) \
    >"$out/Velmarch-$version-linux-x86_64.tar.gz"

windows="$top/build-release-windows"
rm -rf "$windows"
cmake -S . -B "$windows" -DCMAKE_TOOLCHAIN_FILE="$top/scripts/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_BUILD_TYPE=Release -DVELMARCH_BUILD_TESTS=OFF \
    -DVELMARCH_WERROR=ON >/dev/null
stage "$windows" "$windows/stage"
(cd "$windows/stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort |
    TZ=UTC zip -X -q -9 -@ "$out/Velmarch-$version-win64.zip")

git archive --format=tar --prefix="velmarch-$version/" HEAD | gzip -n -9 \
    >"$out/Velmarch-$version-source.tar.gz"

# The source packages behind every entry under a copyleft licence (the
# compiler's runtime, under GCC's runtime library exception, asks for none).
packages=$(cat "$linux/stage/Velmarch-THIRD-PARTY.txt" "$windows/stage/Velmarch-THIRD-PARTY.txt" |
    awk '/^  Licence:/ { copyleft = $0 ~ /GPL|MPL/ && $0 !~ /Exception/ }
         /^  Source:/ && copyleft && match($0, /apt-get source [^)]*/) { print substr($0, RSTART + 15, RLENGTH - 15) }' |
    LC_ALL=C sort -u)
[ -n "$packages" ] || fail "no copyleft part found in the downloads' lists"
sources="$top/build-release-sources"
rm -rf "$sources"
mkdir -p "$sources/Velmarch-$version-debian-sources"
for package in $packages; do
    (cd "$sources/Velmarch-$version-debian-sources" && "$top/scripts/debian-source.sh" "$package") ||
        fail "Debian's archive no longer holds $package: upgrade this machine's packages (apt-get upgrade), so that the downloads carry versions whose source it holds, then release again"
done
find "$sources" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$sources" && tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 \
    --numeric-owner --format=gnu -cf "$out/Velmarch-$version-debian-sources.tar" \
    "Velmarch-$version-debian-sources")

(cd "$out" && sha256sum Velmarch-* >SHA256SUMS)
echo "release: $(echo "$packages" | wc -w) Debian source packages:" $packages
(cd "$out" && ls -l Velmarch-* SHA256SUMS | awk '{ print "release:", $5, $9, $10 }' && cat SHA256SUMS)
