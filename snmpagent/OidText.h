// Dotted decimal text ("1.3.6.1.4.1.0") to the components of an OID.
#pragma once

#include <cstdint>

inline constexpr uint32_t kMaxOidComponents = 16;
// Characters of one component that are looked at; the rest of it is ignored.
inline constexpr uint32_t kMaxComponentChars = 15;

// Writes one component per dot-separated field, at most kMaxOidComponents
// (further fields are ignored), into ids and returns their number. A field is
// read as a signed 32-bit decimal number the way atol reads it: leading
// blanks and a sign allowed, conversion ends at the first other character,
// an empty field is 0; values beyond 32 bits are clamped. Only the first
// kMaxComponentChars characters of a field count.
uint32_t DottedTextToOid(const char* text, uint32_t (&ids)[kMaxOidComponents]);
