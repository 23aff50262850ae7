#include "AdminCommands.h"

// One line per command; keep the groups together.
const AdminCommand kAdminCommands[] = {
    {"strings",
     "strings [ID...]  Print the string table: \"id<TAB>text\" per line in id order,\n"
     "                 with line feed, tab, carriage return and backslash in a\n"
     "                 text written as \\n, \\t, \\r and \\\\.",
     RunStrings},
    {"plugin",
     "plugin install FILE [--yes] | remove TYPE [--yes] | list\n"
     "                 Install a plug-in file into the installation's Plugins folder,\n"
     "                 remove an installed plug-in, or list the installed ones;\n"
     "                 --yes answers the questions, which are refused without it.",
     RunPlugin},
    {"init", "init DIR  Create a new installation: both databases, registry.ini, data/.", RunInit},
    {"convert", "convert DIR  Convert the configuration database as the console does.", RunConvert},
    {"check", "check DIR  Print the database versions and every table's row count.", RunCheck},
    {"demo", "demo DIR  Create a new installation with demo auditions (see scripts/demo_agent.py).", RunDemo},
};

const size_t kAdminCommandCount = sizeof kAdminCommands / sizeof kAdminCommands[0];
