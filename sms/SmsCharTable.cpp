#include "SmsCharTable.h"

CSmsCharTable::CSmsCharTable(std::initializer_list<std::pair<uint8_t, uint8_t>> replacements) {
    for (std::size_t c = 0; c < m_map.size(); ++c) {
        m_map[c] = static_cast<uint8_t>(c);
    }
    for (const auto& [from, to] : replacements) {
        m_map[from] = to;
    }
}
