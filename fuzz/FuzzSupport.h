// Shared by the fuzz targets: a property check that stops the run.
#pragma once

#include <cstdio>
#include <cstdlib>

// Reports the broken property and stops; libFuzzer then saves the input.
#define Require(condition)                                                                         \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
