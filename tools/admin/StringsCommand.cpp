// tarn-admin strings: lists the string table for translators and reviewers.
#include "AdminCommands.h"

#include "StringTable.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <set>
#include <string>

namespace {

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

int RunStrings(const AdminArgs& args) {
    std::set<unsigned> wanted;
    for (const std::string& arg : args) {
        char* end = nullptr;
        unsigned long id = std::strtoul(arg.c_str(), &end, 10);
        if (arg.empty() || *end != '\0' || arg[0] == '-' || id > 65535) {
            std::cerr << "tarn-admin strings: not a string id: " << arg << "\n";
            return 2;
        }
        wanted.insert(static_cast<unsigned>(id));
    }
    std::string out;
    std::set<unsigned> seen;
    for (const auto& [id, text] : GetAllTarnStrings()) {
        if (!wanted.empty() && !wanted.count(id))
            continue;
        seen.insert(id);
        out += std::to_string(id);
        out += '\t';
        out += Escape(text);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (std::fflush(stdout) != 0)
        return 1;
    int result = 0;
    for (unsigned id : wanted) {
        if (!seen.count(id)) {
            std::cerr << "tarn-admin strings: no string with id " << id << "\n";
            result = 1;
        }
    }
    return result;
}
