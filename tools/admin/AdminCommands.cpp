#include "AdminCommands.h"

// One line per command; keep the groups together.
const AdminCommand kAdminCommands[] = {
    {"strings",
     "strings [ID...]  Print the string table: \"id<TAB>text\" per line in id order,\n"
     "                 with line feed, tab, carriage return and backslash in a\n"
     "                 text written as \\n, \\t, \\r and \\\\.",
     RunStrings},
};

const size_t kAdminCommandCount = sizeof kAdminCommands / sizeof kAdminCommands[0];
