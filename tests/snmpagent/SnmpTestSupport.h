// Helpers shared by the SNMP agent tests.
#pragma once

#include "tarn/SnmpExtension.h"
#include "tarn/TARNMemStruct.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <semaphore.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// "1.3.6.1" -> {1, 3, 6, 1}
inline std::vector<uint32_t> Oid(const std::string& dotted) {
    std::vector<uint32_t> ids;
    size_t start = 0;
    while (start <= dotted.size() && !dotted.empty()) {
        const size_t dot = dotted.find('.', start);
        ids.push_back(static_cast<uint32_t>(std::stoul(dotted.substr(start, dot - start))));
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
    return ids;
}

inline std::vector<uint32_t> ToVector(const AsnObjectIdentifier& oid) {
    return oid.idLength == 0 ? std::vector<uint32_t>()
                             : std::vector<uint32_t>(oid.ids, oid.ids + oid.idLength);
}

// Gives the shared objects names of this process's own, so that tests (and
// test runs) working at the same time never meet.
inline std::string UseOwnObjectNames() {
    static int counter = 0;
    const std::string suffix = "_t" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    ::setenv(TARN_SNMP_NAME_SUFFIX_ENV, suffix.c_str(), 1);
    return suffix;
}

// A binding list in the interface's heap, freed the way a host frees it.
class CBindingList {
public:
    explicit CBindingList(const std::vector<std::string>& names) {
        m_list.list =
            static_cast<SnmpVarBind*>(SnmpUtilMemAlloc(names.size() * sizeof(SnmpVarBind)));
        m_list.len = static_cast<uint32_t>(names.size());
        for (size_t i = 0; i < names.size(); ++i) {
            std::vector<uint32_t> ids = Oid(names[i]);
            const AsnObjectIdentifier source{static_cast<uint32_t>(ids.size()), ids.data()};
            SnmpUtilOidCpy(&m_list.list[i].name, &source);
            m_list.list[i].value.asnType = ASN_NULL;
        }
    }
    ~CBindingList() { SnmpUtilVarBindListFree(&m_list); }
    CBindingList(const CBindingList&) = delete;
    CBindingList& operator=(const CBindingList&) = delete;

    SnmpVarBindList* List() { return &m_list; }
    SnmpVarBind& operator[](size_t i) { return m_list.list[i]; }
    std::vector<uint32_t> Name(size_t i) const { return ToVector(m_list.list[i].name); }

    void SetInteger(size_t i, AsnInteger32 number) {
        SnmpUtilAsnAnyFree(&m_list.list[i].value);
        m_list.list[i].value.asnType = ASN_INTEGER;
        m_list.list[i].value.asnValue.number = number;
    }
    void SetString(size_t i, const std::string& text) {
        SnmpUtilAsnAnyFree(&m_list.list[i].value);
        auto* stream = static_cast<uint8_t*>(SnmpUtilMemAlloc(text.size()));
        std::copy(text.begin(), text.end(), stream);
        m_list.list[i].value.asnType = ASN_OCTETSTRING;
        m_list.list[i].value.asnValue.string = {stream, static_cast<uint32_t>(text.size()), 1};
    }
    std::string Text(size_t i) const {
        const AsnOctetString& text = m_list.list[i].value.asnValue.string;
        return {reinterpret_cast<const char*>(text.stream), text.length};
    }

private:
    SnmpVarBindList m_list{nullptr, 0};
};

// The trap objects under the names of this process (UseOwnObjectNames),
// created by a child running as another account, the way an attacker would
// plant them before the agent starts: the region of the agent's size, held
// like a running agent holds it, and the semaphore, both with the given mode.
// They stay until the object is destroyed.
class CPlantedObjects {
public:
    static constexpr uid_t kNobody = 65534;

    CPlantedObjects(uid_t user, gid_t group, mode_t mode) {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(m_release) != 0) {
            return;
        }
        m_child = ::fork();
        if (m_child == 0) {
            ::close(ready[0]);
            ::close(m_release[1]);
            const bool planted = ::setgroups(0, nullptr) == 0 && ::setgid(group) == 0 &&
                                 ::setuid(user) == 0 && Plant(mode);
            const char answer = planted ? 1 : 0;
            (void)!::write(ready[1], &answer, 1);
            char end;
            (void)!::read(m_release[0], &end, 1); // until the test is done
            Remove();
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(m_release[0]);
        char answer = 0;
        m_planted = m_child > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 1;
        ::close(ready[0]);
    }
    ~CPlantedObjects() {
        if (m_child > 0) {
            ::close(m_release[1]);
            ::waitpid(m_child, nullptr, 0);
        }
    }
    CPlantedObjects(const CPlantedObjects&) = delete;
    CPlantedObjects& operator=(const CPlantedObjects&) = delete;

    bool Planted() const { return m_planted; }

    // What the region's message holds and the semaphore's count, as the
    // attacker sees them.
    static std::string Message() {
        std::string message;
        const int fd = ::shm_open(RegionName().c_str(), O_RDONLY, 0);
        void* view = fd < 0 ? MAP_FAILED
                            : ::mmap(nullptr, sizeof(TARNMemStruct), PROT_READ, MAP_SHARED, fd, 0);
        if (view != MAP_FAILED) {
            message = static_cast<const TARNMemStruct*>(view)->sMessage;
            ::munmap(view, sizeof(TARNMemStruct));
        }
        if (fd >= 0) {
            ::close(fd);
        }
        return message;
    }
    static int SemaphoreCount() {
        int count = -1;
        sem_t* semaphore = ::sem_open(SemaphoreName().c_str(), 0);
        if (semaphore != SEM_FAILED) {
            ::sem_getvalue(semaphore, &count);
            ::sem_close(semaphore);
        }
        return count;
    }
    static std::string RegionName() { return TARN_SHARED_MEM_NAME + Suffix(); }
    static std::string SemaphoreName() { return TARN_TRAP_SEMAPHORE_NAME + Suffix(); }

private:
    static std::string Suffix() {
        const char* suffix = std::getenv(TARN_SNMP_NAME_SUFFIX_ENV);
        return suffix != nullptr ? suffix : "";
    }
    static bool Plant(mode_t mode) {
        ::umask(0);
        const int fd = ::shm_open(RegionName().c_str(), O_CREAT | O_EXCL | O_RDWR, mode);
        struct flock lock {};
        lock.l_type = F_RDLCK;
        lock.l_whence = SEEK_SET;
        sem_t* semaphore = ::sem_open(SemaphoreName().c_str(), O_CREAT | O_EXCL, mode, 0);
        // The size of the agent's region: the record and its state word.
        return fd >= 0 && ::ftruncate(fd, sizeof(TARNMemStruct) + sizeof(uint32_t)) == 0 &&
               ::fcntl(fd, F_OFD_SETLK, &lock) == 0 && semaphore != SEM_FAILED;
    }
    static void Remove() {
        ::shm_unlink(RegionName().c_str());
        ::sem_unlink(SemaphoreName().c_str());
    }

    pid_t m_child = -1;
    int m_release[2] = {-1, -1};
    bool m_planted = false;
};
