#include "TakenLineRun.h"

#include "FieldText.h"
#include "LMLogFile.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

constexpr unsigned kSeparatorsPerLine = kAgentLogFieldCount - 1;

#if defined(__x86_64__)
// The run so far, while it is passed over 64 bytes at a time.
struct Run {
    const char* Line;    // the line being looked at; its first byte is "0"
    unsigned Separators; // of that line before the step being looked at
    int32_t Lines;       // passed over
};

// Takes the 64 bytes from `step` on, given by one bit per byte: where the
// separators are and where the text of a line stops (LF or NUL). The byte
// after them is readable. False when the run has ended at run.Line.
__attribute__((always_inline)) inline bool TakeStep(Run& run, const char* step, uint64_t separators,
                                                    uint64_t stops) {
    while (stops != 0) {
        const uint64_t through = stops ^ (stops - 1); // up to the first stop
        run.Separators += static_cast<unsigned>(__builtin_popcountll(separators & through));
        const char* lineEnd = step + __builtin_ctzll(stops);
        if (*lineEnd != '\n' || run.Separators != kSeparatorsPerLine)
            return false;
        ++run.Lines;
        run.Line = lineEnd + 1;
        if (*run.Line != '0')
            return false;
        run.Separators = 0;
        stops &= ~through;
        separators &= ~through;
    }
    run.Separators += static_cast<unsigned>(__builtin_popcountll(separators));
    return true;
}

// Steps of 64 bytes while more than 64 bytes are left (so that the byte
// after a step is readable); `masks` gives a step's separators and stops.
// The rest, from the line that runs into it, is left to the plain version.
template <class Masks>
__attribute__((always_inline)) inline size_t SkipBySteps(std::string_view text, int32_t& lines,
                                                         Masks masks) {
    if (text.empty() || text.front() != '0')
        return 0;
    const char* const end = text.data() + text.size();
    Run run{text.data(), 0, 0};
    bool ended = false;
    for (const char* step = text.data(); !ended && end - step > 64; step += 64) {
        uint64_t separators, stops;
        masks(step, separators, stops);
        ended = !TakeStep(run, step, separators, stops);
    }
    lines += run.Lines;
    const size_t done = static_cast<size_t>(run.Line - text.data());
    return ended ? done : done + SkipTakenLinesPlain(text.substr(done), lines);
}

#define TARN_AVX2 __attribute__((target("avx2,popcnt,bmi")))
#define TARN_AVX512 __attribute__((target("avx512f,avx512bw,popcnt,bmi")))

TARN_AVX2 inline uint64_t Bits(__m256i low, __m256i high) {
    return static_cast<uint32_t>(_mm256_movemask_epi8(low)) |
           static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(high))) << 32;
}

TARN_AVX2 size_t SkipTakenLinesAvx2(std::string_view text, int32_t& lines) {
    const __m256i separator = _mm256_set1_epi8(kAgentLogSeparator);
    const __m256i newline = _mm256_set1_epi8('\n');
    const __m256i nul = _mm256_setzero_si256();
    return SkipBySteps(
        text, lines, [&](const char* step, uint64_t& separators, uint64_t& stops) TARN_AVX2 {
            const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(step));
            const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(step + 32));
            separators =
                Bits(_mm256_cmpeq_epi8(low, separator), _mm256_cmpeq_epi8(high, separator));
            stops = Bits(
                _mm256_or_si256(_mm256_cmpeq_epi8(low, newline), _mm256_cmpeq_epi8(low, nul)),
                _mm256_or_si256(_mm256_cmpeq_epi8(high, newline), _mm256_cmpeq_epi8(high, nul)));
        });
}

TARN_AVX512 size_t SkipTakenLinesAvx512(std::string_view text, int32_t& lines) {
    const __m512i separator = _mm512_set1_epi8(kAgentLogSeparator);
    const __m512i newline = _mm512_set1_epi8('\n');
    return SkipBySteps(
        text, lines, [&](const char* step, uint64_t& separators, uint64_t& stops) TARN_AVX512 {
            const __m512i bytes = _mm512_loadu_si512(step);
            separators = _mm512_cmpeq_epi8_mask(bytes, separator);
            stops = _mm512_cmpeq_epi8_mask(bytes, newline) | _mm512_testn_epi8_mask(bytes, bytes);
        });
}
#endif

} // namespace

size_t SkipTakenLinesPlain(std::string_view text, int32_t& lines) {
    size_t done = 0;
    while (done < text.size() && text[done] == '0') {
        const std::string_view rest = text.substr(done);
        const void* newline = std::memchr(rest.data(), '\n', rest.size());
        if (newline == nullptr)
            break;
        const std::string_view line =
            rest.substr(0, static_cast<size_t>(static_cast<const char*>(newline) - rest.data()));
        if (std::memchr(line.data(), '\0', line.size()) != nullptr ||
            CountFields(line, kAgentLogSeparator) != kAgentLogFieldCount)
            break;
        done += line.size() + 1;
        ++lines;
    }
    return done;
}

std::vector<TakenLineSkipper> TakenLineSkippers() {
    std::vector<TakenLineSkipper> skippers;
#if defined(__x86_64__)
    if (__builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi")) {
        if (__builtin_cpu_supports("avx512bw"))
            skippers.push_back({"AVX-512", SkipTakenLinesAvx512});
        if (__builtin_cpu_supports("avx2"))
            skippers.push_back({"AVX2", SkipTakenLinesAvx2});
    }
#endif
    skippers.push_back({"plain", SkipTakenLinesPlain});
    return skippers;
}

size_t SkipTakenLines(std::string_view text, int32_t& lines) {
    static const SkipTakenLinesFunction fastest = TakenLineSkippers().front().Skip;
    return fastest(text, lines);
}
