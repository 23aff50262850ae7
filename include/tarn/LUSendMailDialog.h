/* The address-book dialog behind GetAddressList of the mail library.
 *
 * The mail library itself builds without any user-interface toolkit. The
 * dialog lives in a module of its own, LUSENDMAIL_DIALOG_MODULE, which the
 * library loads at run time from its own directory and calls through
 * LUSENDMAIL_DIALOG_EXPORT. Without that module GetAddressList returns
 * SENDMAIL_DIALOG_FAILED. */
#ifndef TARN_LUSENDMAILDIALOG_H
#define TARN_LUSENDMAILDIALOG_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define LUSENDMAIL_DIALOG_MODULE "libLUSendMailDialog.so"
#define LUSENDMAIL_DIALOG_EXPORT "LUSendMailAddressDialog"

/* One address-book entry as the dialog lists it. */
typedef struct AddressBookEntry {
    const char* displayName;
    const char* address;
} AddressBookEntry;

/* Called once per entry of the "To" well when the user confirms, in order.
 * displayName may be 0 or empty for an entry without one. */
typedef void (*AddressDialogChosen)(void* context, const char* displayName);

/* Shows the address book modally with one "To" well and the given caption,
 * the well pre-filled with the initial names. Names typed into the well must
 * resolve against the book (or be mail addresses) before the user can confirm.
 * Returns 0 when the user confirmed (after reporting the well's entries through
 * chosen), non-zero when the user cancelled or the dialog could not be shown. */
typedef int32_t (*PFN_LUSendMailAddressDialog)(const char* caption, const AddressBookEntry* book,
                                               int32_t bookSize, const char* const* initial,
                                               int32_t initialCount, AddressDialogChosen chosen,
                                               void* context);

#ifdef __cplusplus
}
#endif

#endif /* TARN_LUSENDMAILDIALOG_H */
