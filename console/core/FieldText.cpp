#include "FieldText.h"

#include "TextEncoding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Agent logs are scanned line by line at every check, and this count decides
// whether a line is well-formed, so it runs sixteen bytes at a time where the
// processor allows (SSE2 is part of every x86-64 processor).
size_t CountSeparators(std::string_view text, char separator) {
    size_t count = 0, i = 0;
#if defined(__SSE2__)
    const __m128i wide = _mm_set1_epi8(separator);
    while (i + 16 <= text.size()) {
        // Per-byte counters, emptied before they can overflow.
        __m128i counters = _mm_setzero_si128();
        for (int block = 0; block < 255 && i + 16 <= text.size(); ++block, i += 16) {
            __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
            counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(bytes, wide)); // match = -1
        }
        __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        count += static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<size_t>(_mm_extract_epi16(sums, 4));
    }
#endif
    for (; i < text.size(); ++i)
        count += text[i] == separator;
    return count;
}

} // namespace

size_t CountFields(std::string_view text, char separator) {
    if (text.empty())
        return 0;
    return CountSeparators(text, separator) + 1;
}

std::string GetField(std::string_view text, size_t n, char separator) {
    if (n == 0)
        return {};
    size_t start = 0;
    // A leading separator is passed over when the first field is asked for.
    size_t skip = (n == 1 && !text.empty() && text.front() == separator) ? 1 : n - 1;
    for (size_t i = 0; i < skip; ++i) {
        size_t next = text.find(separator, start);
        if (next == std::string_view::npos)
            return {};
        start = next + 1;
    }
    size_t end = text.find(separator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

bool IsInList(std::string_view list, char separator, std::string_view value) {
    size_t fields = CountFields(list, separator);
    for (size_t n = 1; n <= fields; ++n) {
        if (EqualsNoCase(GetField(list, n, separator), value))
            return true;
    }
    return false;
}
