// Shared by the fuzz targets: a check that stops the run with a message libFuzzer reports.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                       \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)
