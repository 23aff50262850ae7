// Encodings of internet mail: Base64, quoted-printable, RFC 2047 encoded words
// for header text, RFC 2231 parameters, and header folding. Line ends are "\n";
// the submission command converts them for the wire.
#pragma once

#include <string>
#include <string_view>

std::string EncodeBase64(std::string_view data);

// Text with "\n" line ends as quoted-printable, lines at most 76 characters.
std::string EncodeQuotedPrintable(std::string_view text);

// True when the text can go into a message as 7bit: ASCII without NUL or CR,
// lines of at most 998 characters.
bool IsSevenBitText(std::string_view text);

// UTF-8 text as RFC 2047 "B" encoded words separated by spaces, each word short
// enough for its own header line and never splitting a character.
std::string EncodeWords(std::string_view text);

// Unstructured header text (Subject): kept as it is when it is plain printable
// ASCII, encoded words otherwise. Control characters become spaces.
std::string UnstructuredText(std::string_view text);

// A display name as an RFC 5322 phrase: atoms, a quoted string, or encoded words.
std::string Phrase(std::string_view name);

// A MIME parameter: name="value", or name*=UTF-8''... for other than plain ASCII.
std::string Parameter(std::string_view name, std::string_view value);

// "Name: value" folded at blanks into lines of at most 78 characters where
// possible, ending with "\n".
std::string FoldHeader(std::string_view name, std::string_view value);
