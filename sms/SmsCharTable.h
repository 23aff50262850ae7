// A protocol's replacement table for single Windows-1252 characters; every
// character not in the table maps to itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>

class CSmsCharTable {
public:
    // Pairs of (Windows-1252 character, byte sent instead).
    CSmsCharTable(std::initializer_list<std::pair<uint8_t, uint8_t>> replacements);

    uint8_t Map(uint8_t c) const { return m_map[c]; }
    char Map(char c) const { return static_cast<char>(m_map[static_cast<uint8_t>(c)]); }

private:
    std::array<uint8_t, 256> m_map{};
};
