/* SNMP extension-agent interface of libSnmpTARN.so: the SNMPv1 types a host
 * (the sub-agent program tarn-snmp-subagent) exchanges with an extension
 * agent, the utility functions both sides use on them, and the library's
 * exports. Plain C, usable from C and C++.
 *
 * Ownership follows the extension-agent convention: the host owns the
 * variable-binding lists it passes to SnmpExtensionQuery and frees them with
 * SnmpUtilVarBindListFree; the agent replaces names and values in place and
 * allocates what it puts there with SnmpUtilMemAlloc (or SnmpUtilOidCpy). What
 * SnmpExtensionTrap returns stays owned by the agent and is valid until its
 * next call. */
#ifndef TARN_SNMP_EXTENSION_H
#define TARN_SNMP_EXTENSION_H

#include <semaphore.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ASN.1 / SNMPv1 type tags of AsnAny.asnType (BER tags). */
#define ASN_INTEGER 0x02
#define ASN_OCTETSTRING 0x04
#define ASN_NULL 0x05
#define ASN_OBJECTIDENTIFIER 0x06
#define ASN_SEQUENCE 0x30
#define ASN_IPADDRESS 0x40
#define ASN_COUNTER32 0x41
#define ASN_GAUGE32 0x42
#define ASN_TIMETICKS 0x43
#define ASN_OPAQUE 0x44

/* PDU tags: the request types of SnmpExtensionQuery. */
#define SNMP_PDU_GET 0xA0
#define SNMP_PDU_GETNEXT 0xA1
#define SNMP_PDU_RESPONSE 0xA2
#define SNMP_PDU_SET 0xA3
#define SNMP_PDU_V1TRAP 0xA4

/* SNMPv1 error statuses. */
#define SNMP_ERRORSTATUS_NOERROR 0
#define SNMP_ERRORSTATUS_TOOBIG 1
#define SNMP_ERRORSTATUS_NOSUCHNAME 2
#define SNMP_ERRORSTATUS_BADVALUE 3
#define SNMP_ERRORSTATUS_READONLY 4
#define SNMP_ERRORSTATUS_GENERR 5

/* Generic trap numbers; extension agents send enterprise-specific ones. */
#define SNMP_GENERICTRAP_ENTERSPECIFIC 6

/* Access of a MIB variable. */
#define SNMP_ACCESS_READ_ONLY 0
#define SNMP_ACCESS_WRITE_ONLY 1
#define SNMP_ACCESS_READ_WRITE 2

typedef int32_t AsnInteger32;
typedef uint32_t AsnUnsigned32;
typedef uint32_t AsnCounter32;
typedef uint32_t AsnGauge32;
typedef uint32_t AsnTimeticks;

/* An object identifier: idLength components at ids. */
typedef struct {
    uint32_t idLength;
    uint32_t* ids;
} AsnObjectIdentifier;
typedef AsnObjectIdentifier AsnObjectName;

/* A byte string; dynamic != 0 means stream was allocated with
 * SnmpUtilMemAlloc and belongs to the structure holding it. */
typedef struct {
    uint8_t* stream;
    uint32_t length;
    int dynamic;
} AsnOctetString;

/* A value with its type tag. OCTET STRING, IpAddress and Opaque use string,
 * OBJECT IDENTIFIER uses object, the 32-bit number types their members. */
typedef struct {
    uint8_t asnType;
    union {
        AsnInteger32 number;
        AsnUnsigned32 unsigned32;
        AsnCounter32 counter;
        AsnGauge32 gauge;
        AsnTimeticks ticks;
        AsnOctetString string;
        AsnObjectIdentifier object;
    } asnValue;
} AsnAny;
typedef AsnAny AsnObjectSyntax;

typedef struct {
    AsnObjectName name;
    AsnObjectSyntax value;
} SnmpVarBind;

typedef struct {
    SnmpVarBind* list;
    uint32_t len;
} SnmpVarBindList;

/* --- Utility functions (exported by libSnmpTARN.so) ------------------ */

/* Heap of the interface: zero-filled blocks; NULL when out of memory. */
void* SnmpUtilMemAlloc(size_t bytes);
void SnmpUtilMemFree(void* block);

/* Lexicographic order of the components, a prefix before its extensions:
 * < 0, 0 or > 0. */
int SnmpUtilOidCmp(const AsnObjectIdentifier* left, const AsnObjectIdentifier* right);
/* The same on the first count components at most. */
int SnmpUtilOidNCmp(const AsnObjectIdentifier* left, const AsnObjectIdentifier* right,
                    uint32_t count);
/* Deep copy into dest (whose old contents are not freed); 1 on success,
 * 0 when out of memory (dest is then empty). */
int SnmpUtilOidCpy(AsnObjectIdentifier* dest, const AsnObjectIdentifier* source);
/* Appends source's components to dest; 1 on success, 0 when out of memory
 * (dest unchanged). */
int SnmpUtilOidAppend(AsnObjectIdentifier* dest, const AsnObjectIdentifier* source);
/* Frees the components and leaves an empty OID. */
void SnmpUtilOidFree(AsnObjectIdentifier* oid);
/* Frees what a value owns (dynamic strings, OIDs) and makes it ASN_NULL. */
void SnmpUtilAsnAnyFree(AsnAny* any);
void SnmpUtilVarBindFree(SnmpVarBind* binding);
/* Frees every binding and the array; leaves an empty list. */
void SnmpUtilVarBindListFree(SnmpVarBindList* list);

/* Milliseconds of CLOCK_MONOTONIC, truncated to 32 bits: the clock of the
 * time-zero reference and of the trap time stamps. */
uint32_t SnmpUtilTickCount(void);

/* --- Extension-agent entry points ------------------------------------ */

/* Starts the agent's life: keeps timeZeroReference (a SnmpUtilTickCount;
 * SnmpExtensionTrap measures its time stamps against it), creates the trap semaphore and the shared
 * trap region, returns the semaphore (NULL when it could not be created) in *trapEvent and the
 * agent's region of the MIB in *supportedView (owned by the agent). Calling it again starts a fresh
 * life. Returns 1. */
int SnmpExtensionInit(uint32_t timeZeroReference, sem_t** trapEvent,
                      AsnObjectIdentifier* supportedView);

/* Serves a GET, GETNEXT or SET request (SNMP_PDU_*) on the bindings in order.
 * Sets *errorStatus (SNMP_ERRORSTATUS_*); on an error, *errorIndex gets the
 * failing binding's 1-based position and the rest stays unserved. A GETNEXT
 * past the agent's region answers noError with a name just past the region.
 * Returns 1. */
int SnmpExtensionQuery(uint8_t requestType, SnmpVarBindList* bindings, AsnInteger32* errorStatus,
                       AsnInteger32* errorIndex);

/* Called after the trap semaphore was posted, again and again until it
 * returns 0. Returns 1 with the trap waiting in the shared region: its
 * enterprise, generic trap 6, specific trap, the milliseconds since
 * timeZeroReference and the one variable binding. */
int SnmpExtensionTrap(AsnObjectIdentifier* enterprise, AsnInteger32* genericTrap,
                      AsnInteger32* specificTrap, AsnTimeticks* timeStamp,
                      SnmpVarBindList* bindings);

/* Releases the shared region and the semaphore and removes their names.
 * The host calls it when it stops. */
void SnmpExtensionClose(void);

/* Why SnmpExtensionInit gave no trap semaphore (the shared objects could not
 * be created, e.g. because another account's objects hold their names), or
 * an empty text. The host refuses to run without traps and reports it. */
const char* SnmpTrapSlotError(void);

/* --- Console side ----------------------------------------------------- */

/* Hands one trap to the running agent: waits up to 2 s until the agent has
 * taken the trap before, writes the shared region (at most 255 characters of
 * each text) and posts the trap semaphore. Returns 1, or 0 and changes
 * nothing when the agent's region or semaphore does not exist, is not owned
 * by a trusted account with no access for others, or the agent did not take
 * the trap before in time. */
int SnmpSendTrap(const char* enterprise, int32_t specificTrap, const char* variable,
                 const char* message);

#ifdef __cplusplus
}
#endif

#endif
