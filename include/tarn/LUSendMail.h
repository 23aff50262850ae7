/* The mail library libLUSendMail.so: sends mail through the local mail system
 * (mail profiles, a message store with an outbox, an address book, and a
 * submission command; see docs/MAIL.md) and lets a user pick recipients from
 * the address book.
 *
 * Every export returns one of the SENDMAIL_* result codes. The library shows
 * nothing and keeps no state of its own: a logon record belongs to its caller.
 * All text is UTF-8. */
#ifndef TARN_LUSENDMAIL_H
#define TARN_LUSENDMAIL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define LUSENDMAIL_API __attribute__((visibility("default")))

/* Result codes. */
enum {
    SENDMAIL_OK = 0,
    SENDMAIL_LOGON_FAILED = 2,        /* unknown profile or wrong password */
    SENDMAIL_STORE_FAILED = 5,        /* the message store did not open */
    SENDMAIL_ADDRESS_BOOK_FAILED = 6, /* the address book did not open */
    SENDMAIL_OUTBOX_FAILED = 7,       /* the outbox did not open */
    SENDMAIL_PROPERTIES_FAILED = 8,   /* subject, body or attachment not accepted */
    SENDMAIL_CREATE_FAILED = 9,       /* the message could not be created in the outbox */
    SENDMAIL_RESOLVE_FAILED = 10,     /* a recipient did not resolve (none or several) */
    SENDMAIL_RECIPIENTS_FAILED = 11,  /* the resolved recipients were not accepted */
    SENDMAIL_NOT_LOGGED_ON = 12,      /* the logon record is incomplete */
    SENDMAIL_DIALOG_FAILED = 13       /* the address-book dialog failed or was cancelled */
};

/* Filled by SendMailLogon, emptied by SendMailLogoff; each member is 0 when
 * not held. Start with a zeroed record. */
typedef struct SendMailLogonRecord {
    void* session;     /* the mail profile in use */
    void* store;       /* the profile's message store */
    void* outbox;      /* the store's outbox folder */
    void* addressBook; /* the profile's address book */
} SendMailLogonRecord;

/* One message. */
typedef struct SendMailInfo {
    const char* profile;    /* profile name for the log-on */
    const char* password;   /* its password */
    const char* attachment; /* path of a file to attach, or 0 */
    const char* subject;    /* or 0 */
    const char* body;       /* plain text, or 0 */
    char* recipients;       /* display names or addresses separated by ";". Required;
                               cut in place: every ";" becomes a NUL */
    int32_t service;        /* non-zero when the caller runs as a service (no effect here) */
} SendMailInfo;

/* One address-book request. */
typedef struct AddressListInfo {
    const char* caption;           /* dialog caption */
    const char* initialRecipients; /* ";"-separated, or 0 (left unchanged) */
    char* buffer;                  /* receives the chosen display names, ";"-separated */
    int32_t bufferSize;            /* size of buffer in bytes */
} AddressListInfo;

/* Opens the profile named in info (profile, password): its message store, the
 * store's outbox and its address book, in that order, into the record. Stops at
 * the first failure; what was opened stays in the record. Every call must be
 * matched by SendMailLogoff, also after a failure. A successful log-on also
 * retries the messages still waiting in the outbox. */
LUSENDMAIL_API int32_t SendMailLogon(SendMailLogonRecord* logon, const SendMailInfo* info);

/* Releases everything the record holds and clears it. Returns 0. */
LUSENDMAIL_API int32_t SendMailLogoff(SendMailLogonRecord* logon);

/* Sends one message on an open log-on: the message is created in the outbox,
 * handed to the profile's submission command, and leaves the outbox once the
 * command accepted it. */
LUSENDMAIL_API int32_t SendMailMessageEx(SendMailLogonRecord* logon, SendMailInfo* info);

/* Log-on, SendMailMessageEx and log-off in one call; the first non-zero code. */
LUSENDMAIL_API int32_t SendMailMessage(SendMailInfo* info);

/* Shows the address book so that the user picks recipients ("To"); the chosen
 * display names go to the request's buffer, ";"-separated, as many as fit. */
LUSENDMAIL_API int32_t GetAddressList(SendMailLogonRecord* logon, AddressListInfo* request);

/* Entry point types for callers that load the library with dlopen. */
typedef int32_t (*PFN_SendMailLogon)(SendMailLogonRecord*, const SendMailInfo*);
typedef int32_t (*PFN_SendMailLogoff)(SendMailLogonRecord*);
typedef int32_t (*PFN_SendMailMessageEx)(SendMailLogonRecord*, SendMailInfo*);
typedef int32_t (*PFN_SendMailMessage)(SendMailInfo*);
typedef int32_t (*PFN_GetAddressList)(SendMailLogonRecord*, AddressListInfo*);

#ifdef __cplusplus
}
#endif

#endif /* TARN_LUSENDMAIL_H */
