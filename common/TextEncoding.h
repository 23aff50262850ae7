// Text helpers shared by the INI reader and the agent log reader: UTF-8
// validation, Windows-1252 conversion, case folding and blank trimming.
#pragma once

#include <string>
#include <string_view>

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);
// Converts Windows-1252 bytes to UTF-8. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 control of the same value.
std::string Windows1252ToUtf8(std::string_view text);
// The text as UTF-8: unchanged when it is valid UTF-8, else read as Windows-1252.
std::string DecodeExternalText(std::string_view text);

// Compares UTF-8 texts ignoring case for every letter that Unicode gives a
// simple case mapping (Ä/ä, É/é, Σ/σ/ς ...); "ß" does not become "SS".
bool EqualsNoCase(std::string_view a, std::string_view b);
// Blanks are space, tab, vertical tab, form feed and carriage return.
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimTrailingBlanks(std::string_view text);
// The first maxCharacters characters of a UTF-8 text, never cut inside a character.
std::string CutToCharacters(std::string_view text, size_t maxCharacters);
