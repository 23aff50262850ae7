// Feeds arbitrary bytes to the MIME encoders of the mail library. Checks that
// Base64 is well-formed and of the right length, that quoted-printable and
// header texts keep to their line lengths and alphabets, and that no encoded
// header text can start a header line of its own.
#include "FuzzSupport.h"
#include "MimeEncoding.h"

#include <cstdint>
#include <string>

namespace {

bool OnlyOf(const std::string& text, const char* alphabet) {
    return text.find_first_not_of(alphabet) == std::string::npos;
}

const char* kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";

// A header's lines: the first begins with the name, each further one with a blank.
void CheckHeader(const std::string& header, const std::string& name) {
    Require(header.rfind(name + ":", 0) == 0);
    Require(!header.empty() && header.back() == '\n');
    Require(header.find('\r') == std::string::npos);
    for (size_t at = header.find('\n'); at + 1 < header.size(); at = header.find('\n', at + 1))
        Require(header[at + 1] == ' ' || header[at + 1] == '\t');
}

void CheckQuotedPrintable(const std::string& encoded) {
    for (size_t start = 0; start < encoded.size();) {
        const size_t end = std::min(encoded.find('\n', start), encoded.size());
        Require(end - start <= 76);
        start = end + 1;
    }
    for (unsigned char c : encoded)
        Require(c == '\n' || c == '\t' || (c >= 0x20 && c < 0x7F));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string base64 = EncodeBase64(text);
    Require(base64.size() == (size + 2) / 3 * 4 && OnlyOf(base64, kBase64));
    CheckQuotedPrintable(EncodeQuotedPrintable(text));
    if (IsSevenBitText(text))
        Require(text.find('\0') == std::string::npos && text.find('\r') == std::string::npos);

    const std::string subject = UnstructuredText(text);
    for (unsigned char c : subject)
        Require(c >= 0x20 && c < 0x7F);
    CheckHeader(FoldHeader("Subject", subject), "Subject");
    const std::string phrase = Phrase(text);
    Require(phrase.find_first_of("\r\n") == std::string::npos);
    CheckHeader(FoldHeader("To", phrase + " <admin@example.org>"), "To");
    const std::string words = EncodeWords(text);
    Require(words.find_first_of("\r\n") == std::string::npos);
    const std::string parameter = Parameter("filename", text);
    Require(parameter.find_first_of("\r\n") == std::string::npos);
    return 0;
}
