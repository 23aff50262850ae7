/* The configuration dialog of the command-check plug-in.
 *
 * The plug-in itself has no user-interface toolkit, so that the headless
 * console loads it like any other. Its dialog is a module of its own,
 * COMMANDCHECK_DIALOG_MODULE (Qt Widgets, built with the desktop interface),
 * which the plug-in loads on demand and calls through
 * COMMANDCHECK_DIALOG_EXPORT. */
#ifndef TARN_COMMANDCHECKDIALOGMODULE_H
#define TARN_COMMANDCHECKDIALOGMODULE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define COMMANDCHECK_DIALOG_MODULE "libCommandCheckDialog.so"
#define COMMANDCHECK_DIALOG_EXPORT "CommandCheckConfigureDialog"

enum {
    COMMANDCHECK_DIALOG_STORED = 0,     /* the user confirmed; the settings are stored */
    COMMANDCHECK_DIALOG_CANCELLED = 1,  /* the user cancelled; nothing changed */
    COMMANDCHECK_DIALOG_UNAVAILABLE = 2 /* no dialog here: no widget application on this thread */
};

/* Shows the settings of the audition's section in iniFile modally over the
 * application's active window and stores them there when the user confirms.
 * computer is the audition's computer (UTF-8, may be empty), given to a test
 * run as TARN_COMPUTER. */
typedef int32_t (*PFN_CommandCheckConfigureDialog)(const char* iniFile, int32_t auditionId,
                                                   const char* computer);

#ifdef __cplusplus
}
#endif

#endif /* TARN_COMMANDCHECKDIALOGMODULE_H */
