// The fuzz targets' check: says which condition failed, and where, before
// stopping the fuzzer, so that a crash report names what broke.
#pragma once

#include <cstdio>
#include <cstdlib>

#define check(condition)                                                                           \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
