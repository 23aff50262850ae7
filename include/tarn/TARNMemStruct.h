/* The trap slot shared by the console (SnmpSendTrap) and the SNMP agent:
 * POSIX shared memory TARN_SHARED_MEM_NAME, 772 bytes, and the semaphore
 * TARN_TRAP_SEMAPHORE_NAME that the console posts after writing it. One slot,
 * not a queue. Texts are NUL-terminated and NUL-padded. */
#ifndef TARN_TARN_MEM_STRUCT_H
#define TARN_TARN_MEM_STRUCT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TARN_SHARED_MEM_NAME "/TARN_Shared_Mem"
#define TARN_TRAP_SEMAPHORE_NAME "/TARN_TRAP"

/* Environment variable whose value (letters, digits, '_', '-' and '.', at most
 * 32 characters) is appended to both names; lets tests run agents side by
 * side. Unset in production. */
#define TARN_SNMP_NAME_SUFFIX_ENV "TARN_SNMP_NAME_SUFFIX"

#define TARN_MEM_TEXT_SIZE 256 /* 255 characters and the terminator */

typedef struct {
    char sEnterprise[TARN_MEM_TEXT_SIZE]; /* enterprise OID, dotted decimal */
    char sVariable[TARN_MEM_TEXT_SIZE];   /* OID of the one variable binding */
    int32_t lSpecificTrap;                /* specific trap number */
    char sMessage[TARN_MEM_TEXT_SIZE];    /* value of the variable binding */
} TARNMemStruct;

#ifdef __cplusplus
static_assert(sizeof(TARNMemStruct) == 772, "the shared region is 772 bytes");
static_assert(offsetof(TARNMemStruct, sVariable) == 256, "layout of the shared region");
static_assert(offsetof(TARNMemStruct, lSpecificTrap) == 512, "layout of the shared region");
static_assert(offsetof(TARNMemStruct, sMessage) == 516, "layout of the shared region");
#else
_Static_assert(sizeof(TARNMemStruct) == 772, "the shared region is 772 bytes");
_Static_assert(offsetof(TARNMemStruct, lSpecificTrap) == 512, "layout of the shared region");
#endif

#ifdef __cplusplus
}
#endif

#endif
