#include "MessageText.h"

std::string FillPlaceholder(std::string text, std::string_view placeholder,
                            std::string_view value) {
    const size_t at = text.find(placeholder);
    if (at != std::string::npos)
        text.replace(at, placeholder.size(), value);
    return text;
}
