// Shared by the fuzz targets: a property check that stops the run.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// Reports the broken property and stops; libFuzzer then saves the input.
#define Require(condition)                                                                         \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// A new directory of the fuzzer's own below base ("/tmp" or "/dev/shm"),
// removed when the fuzzer ends.
inline std::string FuzzScratchDirectory(const std::string& base) {
    static std::vector<std::string> directories;
    std::string pattern = base + "/tarn-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern.data());
    Require(made != nullptr);
    if (directories.empty())
        std::atexit([] {
            for (const std::string& directory : directories)
                std::filesystem::remove_all(directory);
        });
    directories.push_back(made);
    return made;
}
