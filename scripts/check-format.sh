#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ file in the repository is not formatted with .clang-format,
# or a source file does not name its licence in its first lines.
set -eu
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
unnamed=$(git ls-files '*.cpp' '*.h' '*.sh' '*.py' '*.cmake' '*.ui' CMakeLists.txt '*/CMakeLists.txt' .ci/run |
    while read -r file; do
        head -n 2 "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$file"
    done)
[ -z "$unnamed" ] || {
    echo "check-format: these files do not name their licence (SPDX-License-Identifier) in their first lines:" $unnamed >&2
    exit 1
}
