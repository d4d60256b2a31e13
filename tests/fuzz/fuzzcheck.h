// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant ends the run the way a sanitizer report does, so that
// libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant broken: %s (%s)\n", what, #condition);                 \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
