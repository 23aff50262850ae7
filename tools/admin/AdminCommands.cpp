#include "AdminCommands.h"

#include <iostream>

// One line per command; keep the groups together.
const AdminCommand kAdminCommands[] = {
    {"strings",
     "strings [ID...]  Print the string table in the language of this run (LANG, as\n"
     "                 the console chooses it): \"id<TAB>text\" per line in id order,\n"
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
    {"check",
     "check DIR  Print the database versions, SQLite's integrity check and every\n"
     "                 table's row count; exit 1 with the recovery steps when the\n"
     "                 installation is not usable.",
     RunCheck},
    {"backup",
     "backup DIR  Copy the installation ($TARN_HOME) into the new directory DIR,\n"
     "                 consistently while the console runs.",
     RunBackup},
    {"restore",
     "restore DIR  Put a backup made by \"backup\" back into the installation\n"
     "                 ($TARN_HOME); refused while a console uses it.",
     RunRestore},
    {"audition",
     "audition list | show ID | add TYPE [FIELD=VALUE...] | set ID FIELD=VALUE... |\n"
     "                 remove ID | activate ID... | deactivate ID...  [--home DIR] [--json]\n"
     "                 Auditions of the types App, Service, Logfile, NTEvtLog, Net and\n"
     "                 Plugin; fields are the database columns, PROFILES=ID,... the\n"
     "                 audition's notify profiles; add prints the new key.",
     RunAudition},
    {"notification",
     "notification list | show ID | add [FIELD=VALUE...] | set ID FIELD=VALUE... | remove ID\n"
     "                 Notifications; channel fields as SMS.RECIPIENT, SMTP.MAILTEXT, ...",
     RunNotification},
    {"profile",
     "profile list | show ID | add [FIELD=VALUE...] | set ID FIELD=VALUE... | remove ID |\n"
     "                 notifications ID [N1,N2,...]  Notify profiles; the order given is\n"
     "                 the sending order.",
     RunProfile},
    {"services", "services show | set FIELD=VALUE...  The notification service settings.", RunServices},
    {"settings", "settings show | set protocol-file=FILE data-directory=DIR  General settings.", RunSettings},
    {"problems",
     "problems [--open | --unresolved | --resolved] [--since TIME] [--audition ID]\n"
     "                 The problems of the history database.",
     RunProblems},
    {"events", "events PROBLEM_ID  The events of a problem.", RunEvents},
    {"problem", "problem remove ID  Remove a problem with its events.", RunProblem},
    {"export", "export FILE|-  Write the whole configuration as one JSON document.", RunExport},
    {"import",
     "import FILE|- [--replace | --merge]  Check a configuration document and write it in\n"
     "                 one transaction: --replace drops the auditions, notifications and\n"
     "                 profiles first, --merge (the default) adds to them.",
     RunImport},
    {"demo", "demo DIR  Create a new installation with demo auditions (see scripts/demo_agent.py).", RunDemo},
};

const size_t kAdminCommandCount = sizeof kAdminCommands / sizeof kAdminCommands[0];

bool LockInstallation(const std::string& strDirectory, CInstallationLock& lock) {
    switch (lock.Acquire(strDirectory)) {
    case CInstallationLock::Result::Taken:
        return true;
    case CInstallationLock::Result::HeldByOther:
        std::cerr << "tarn-admin: a console (PID " << lock.Holder() << ") is running on "
                  << strDirectory << "; stop it first\n";
        return false;
    case CInstallationLock::Result::Failed:
        break;
    }
    std::cerr << "tarn-admin: cannot lock " << strDirectory << kInstallationLockName << "\n";
    return false;
}
