// Runs a fuzz target once over every file of the given seed folders, without
// libFuzzer: the CTest check that the targets build and their seeds pass in
// the normal and the sanitizer builds. Fails when there is no seed at all.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize != nullptr)
        LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::filesystem::path> seeds;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
            if (entry.is_regular_file())
                seeds.push_back(entry.path());
        }
    }
    std::sort(seeds.begin(), seeds.end());
    for (const auto& seed : seeds) {
        std::ifstream in(seed, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        std::printf("%s (%zu bytes)\n", seed.c_str(), bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "no seeds\n");
        return 1;
    }
    return 0;
}
