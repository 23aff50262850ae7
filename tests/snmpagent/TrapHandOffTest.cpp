// The trap hand-off: SnmpSendTrap writes the shared slot and posts the
// semaphore, SnmpExtensionTrap turns the slot into a trap.
#include "SnmpTestSupport.h"
#include "TrapSlot.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

const std::vector<uint32_t> kPlaceholder = Oid("1.2.3.4.5.6.7.8");

struct STrapSeen {
    std::vector<uint32_t> enterprise;
    AsnInteger32 generic = -1;
    AsnInteger32 specific = -1;
    AsnTimeticks stamp = 0;
    std::vector<uint32_t> variable;
    std::string message;
};

std::string RegionName() {
    return TARN_SHARED_MEM_NAME + std::string(std::getenv(TARN_SNMP_NAME_SUFFIX_ENV));
}

std::string SemaphoreName() {
    return TARN_TRAP_SEMAPHORE_NAME + std::string(std::getenv(TARN_SNMP_NAME_SUFFIX_ENV));
}

bool RegionExists(const std::string& name) {
    const int fd = shm_open(name.c_str(), O_RDONLY, 0);
    if (fd >= 0) {
        close(fd);
    }
    return fd >= 0;
}

bool SemaphoreExists(const std::string& name) {
    sem_t* semaphore = sem_open(name.c_str(), 0);
    if (semaphore != SEM_FAILED) {
        sem_close(semaphore);
    }
    return semaphore != SEM_FAILED;
}

// The region as another process sees it.
TARNMemStruct ReadRegion() {
    TARNMemStruct copy{};
    const int fd = shm_open(RegionName().c_str(), O_RDONLY, 0);
    EXPECT_GE(fd, 0);
    if (fd < 0) {
        return copy;
    }
    void* view = mmap(nullptr, sizeof copy, PROT_READ, MAP_SHARED, fd, 0);
    close(fd);
    EXPECT_NE(view, MAP_FAILED);
    if (view != MAP_FAILED) {
        std::memcpy(&copy, view, sizeof copy);
        munmap(view, sizeof copy);
    }
    return copy;
}

class TrapHandOff : public ::testing::Test {
protected:
    void SetUp() override {
        UseOwnObjectNames();
        Start(SnmpUtilTickCount());
    }
    void TearDown() override { SnmpExtensionClose(); }

    void Start(uint32_t timeZero) {
        AsnObjectIdentifier view{0, nullptr};
        ASSERT_EQ(SnmpExtensionInit(timeZero, &m_trapEvent, &view), 1);
        ASSERT_NE(m_trapEvent, nullptr);
    }

    static bool NextTrap(STrapSeen& seen) {
        AsnObjectIdentifier enterprise{99, nullptr};
        SnmpVarBindList bindings{nullptr, 0};
        if (!SnmpExtensionTrap(&enterprise, &seen.generic, &seen.specific, &seen.stamp,
                               &bindings)) {
            seen.enterprise = ToVector(enterprise);
            return false;
        }
        seen.enterprise = ToVector(enterprise);
        EXPECT_EQ(bindings.len, 1u);
        if (bindings.len == 1) {
            const SnmpVarBind& binding = bindings.list[0];
            seen.variable = ToVector(binding.name);
            EXPECT_EQ(binding.value.asnType, ASN_OCTETSTRING);
            EXPECT_EQ(binding.value.asnValue.string.dynamic, 0) << "owned by the agent";
            seen.message.assign(reinterpret_cast<const char*>(binding.value.asnValue.string.stream),
                                binding.value.asnValue.string.length);
        }
        return true;
    }

    // One signal: the trap, then the end.
    STrapSeen SendAndReceive(const char* enterprise, int32_t specific, const char* variable,
                             const char* message) {
        EXPECT_EQ(SnmpSendTrap(enterprise, specific, variable, message), 1);
        EXPECT_EQ(sem_trywait(m_trapEvent), 0) << "the semaphore is posted";
        STrapSeen seen;
        EXPECT_TRUE(NextTrap(seen));
        STrapSeen end;
        EXPECT_FALSE(NextTrap(end));
        EXPECT_TRUE(end.enterprise.empty());
        return seen;
    }

    sem_t* m_trapEvent = nullptr;
};

TEST_F(TrapHandOff, ATrapCarriesTheTextsOfTheSlot) {
    const STrapSeen trap = SendAndReceive("1.3.6.1.4.1.0", 2, "1.3.6.1.4.1.1.0", "Fehler auf PC7");
    EXPECT_EQ(trap.enterprise, Oid("1.3.6.1.4.1.0"));
    EXPECT_EQ(trap.generic, SNMP_GENERICTRAP_ENTERSPECIFIC);
    EXPECT_EQ(trap.specific, 2);
    EXPECT_EQ(trap.variable, Oid("1.3.6.1.4.1.1.0"));
    EXPECT_EQ(trap.message, "Fehler auf PC7");
    EXPECT_EQ(sem_trywait(m_trapEvent), -1) << "one post per trap";
}

TEST_F(TrapHandOff, EachSignalGivesOneTrapThenTheEnd) {
    ASSERT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 1, "1.3.6.1.4.1.1.0", "a"), 1);
    STrapSeen seen;
    EXPECT_TRUE(NextTrap(seen));
    EXPECT_FALSE(NextTrap(seen));
    EXPECT_TRUE(seen.enterprise.empty());
    // The next call starts over with what the slot holds.
    EXPECT_TRUE(NextTrap(seen));
    EXPECT_EQ(seen.message, "a");
}

TEST_F(TrapHandOff, BeforeTheFirstTrapEmptyOidTextsGiveThePlaceholder) {
    const STrapSeen trap = SendAndReceive("", 3, "", "");
    EXPECT_EQ(trap.enterprise, kPlaceholder);
    EXPECT_EQ(trap.variable, kPlaceholder);
    EXPECT_EQ(trap.specific, 3);
    EXPECT_EQ(trap.message, "");
}

TEST_F(TrapHandOff, AnEmptyOidTextKeepsTheOidOfThePreviousTrap) {
    SendAndReceive("1.3.6.1.4.1.5", 1, "1.3.6.1.4.1.1.0", "first");
    const STrapSeen second = SendAndReceive("", -4, "", "second");
    EXPECT_EQ(second.enterprise, Oid("1.3.6.1.4.1.5"));
    EXPECT_EQ(second.variable, Oid("1.3.6.1.4.1.1.0"));
    EXPECT_EQ(second.specific, -4);
    EXPECT_EQ(second.message, "second");
    const STrapSeen third = SendAndReceive("1.3.6.1.4.1.9", 1, "", "third");
    EXPECT_EQ(third.enterprise, Oid("1.3.6.1.4.1.9"));
    EXPECT_EQ(third.variable, Oid("1.3.6.1.4.1.1.0"));
}

TEST_F(TrapHandOff, TheTimeStampCountsMillisecondsFromTheTimeZeroReference) {
    Start(SnmpUtilTickCount() - 5000);
    const STrapSeen trap = SendAndReceive("1.3.6.1.4.1.0", 1, "1.3.6.1.4.1.1.0", "x");
    EXPECT_GE(trap.stamp, 5000u);
    EXPECT_LT(trap.stamp, 5000u + 600000u);
}

struct SOidCase {
    std::string text;
    std::vector<uint32_t> oid;
};

void PrintTo(const SOidCase& oid, std::ostream* out) {
    *out << '"' << oid.text << '"';
}

class DottedText : public TrapHandOff, public ::testing::WithParamInterface<SOidCase> {};

TEST_P(DottedText, BecomesTheVariableOid) {
    const STrapSeen trap = SendAndReceive("1.3.6.1.4.1.0", 1, GetParam().text.c_str(), "m");
    EXPECT_EQ(trap.variable, GetParam().oid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DottedText,
    ::testing::Values(SOidCase{"1.3.6.1.4.1.1.0", {1, 3, 6, 1, 4, 1, 1, 0}},
                      SOidCase{"1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16.17.18.19.20",
                               {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
                      SOidCase{"1..2.", {1, 0, 2, 0}}, SOidCase{" 7.+5.12abc.x", {7, 5, 12, 0}},
                      SOidCase{"-1.2147483647", {4294967295u, 2147483647u}},
                      // A component is read up to its 15th character; beyond 32 bits it is clamped.
                      SOidCase{"1.1234567890123456789.3", {1, 2147483647u, 3}},
                      SOidCase{"1.000000000000000042.3", {1, 0, 3}},
                      SOidCase{"1.-99999999999", {1, 2147483648u}}));

TEST_F(TrapHandOff, TextsAreCutTo255CharactersAndPaddedWithNuls) {
    const std::string longText(400, 'x');
    SendAndReceive(longText.c_str(), 1, "1.3.6.1.4.1.1.0", longText.c_str());
    const STrapSeen trap = SendAndReceive("1.3", 1, "1.3.6.1.4.1.1.0", "kurz");
    EXPECT_EQ(trap.message, "kurz");
    const TARNMemStruct region = ReadRegion();
    EXPECT_STREQ(region.sEnterprise, "1.3");
    for (size_t i = 3; i < TARN_MEM_TEXT_SIZE; ++i) {
        ASSERT_EQ(region.sEnterprise[i], '\0') << "byte " << i;
    }
    for (size_t i = 4; i < TARN_MEM_TEXT_SIZE; ++i) {
        ASSERT_EQ(region.sMessage[i], '\0') << "byte " << i;
    }
    SnmpSendTrap("1.3", 1, "1.3", longText.c_str());
    sem_trywait(m_trapEvent);
    STrapSeen cut;
    ASSERT_TRUE(NextTrap(cut));
    EXPECT_EQ(cut.message, std::string(255, 'x'));
}

TEST_F(TrapHandOff, NullTextsAreSentAsEmptyTexts) {
    const STrapSeen trap = SendAndReceive(nullptr, 1, nullptr, nullptr);
    EXPECT_EQ(trap.enterprise, kPlaceholder);
    EXPECT_EQ(trap.message, "");
}

TEST_F(TrapHandOff, TheAgentStartsWithAClearedSlotReplacingStaleObjects) {
    ASSERT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 9, "1.3.6.1.4.1.1.0", "stale"), 1);
    // A crashed agent leaves its objects behind; the next one starts afresh.
    Start(SnmpUtilTickCount());
    EXPECT_EQ(sem_trywait(m_trapEvent), -1);
    const TARNMemStruct region = ReadRegion();
    EXPECT_EQ(region.sEnterprise[0], '\0');
    EXPECT_EQ(region.sMessage[0], '\0');
    EXPECT_EQ(region.lSpecificTrap, 0);
}

// The slot holds one trap: a second one waits (bounded) until the agent has
// taken the first, and fails when it does not, leaving the first untouched.
TEST_F(TrapHandOff, ATrapWaitingForTheAgentIsNeverOverwritten) {
    ASSERT_EQ(SnmpSendTrap("1.3", 1, "1.3", "first"), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SnmpSendTrap("1.3", 2, "1.3", "second"), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));
    EXPECT_EQ(sem_trywait(m_trapEvent), 0);
    EXPECT_EQ(sem_trywait(m_trapEvent), -1) << "no post for the refused trap";
    STrapSeen seen;
    ASSERT_TRUE(NextTrap(seen));
    EXPECT_EQ(seen.message, "first");
    EXPECT_FALSE(NextTrap(seen));
    // Taken: the next trap goes in at once.
    EXPECT_EQ(SendAndReceive("1.3", 3, "1.3", "third").message, "third");
}

TEST_F(TrapHandOff, CloseRemovesBothObjects) {
    ASSERT_TRUE(RegionExists(RegionName()));
    ASSERT_TRUE(SemaphoreExists(SemaphoreName()));
    SnmpExtensionClose();
    EXPECT_FALSE(RegionExists(RegionName()));
    EXPECT_FALSE(SemaphoreExists(SemaphoreName()));
    EXPECT_EQ(SnmpSendTrap("1.3", 1, "1.3", "m"), 0);
    STrapSeen seen;
    EXPECT_FALSE(NextTrap(seen)) << "no region, no trap";
}

TEST_F(TrapHandOff, ObjectsAreReadWriteForOwnerAndGroupWhateverTheUmask) {
    const mode_t previous = umask(077);
    Start(SnmpUtilTickCount());
    umask(previous);
    EXPECT_EQ(umask(previous), previous) << "the umask is given back";
    const int fd = shm_open(RegionName().c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    struct stat status {};
    ASSERT_EQ(fstat(fd, &status), 0);
    close(fd);
    EXPECT_EQ(status.st_mode & 0777, 0660u);
    EXPECT_EQ(status.st_size, 772 + 4) << "the record and the slot's state word";
    struct stat semaphore {};
    // glibc keeps named semaphores as /dev/shm/sem.NAME.
    ASSERT_EQ(stat(("/dev/shm/sem." + SemaphoreName().substr(1)).c_str(), &semaphore), 0);
    EXPECT_EQ(semaphore.st_mode & 0777, 0660u);
}

// SnmpSendTrap in a child running as another account.
int SendAs(uid_t user, gid_t group) {
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(group) != 0 || setuid(user) != 0) {
            _exit(100);
        }
        _exit(SnmpSendTrap("1.3", 1, "1.3", "from another account"));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(TrapHandOff, OnlyTheAgentsGroupCanSend) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "changing to other accounts needs root";
    }
    constexpr uid_t kNobody = 65534;
    EXPECT_EQ(SendAs(kNobody, getegid()), 1) << "a member of the agent's group";
    EXPECT_EQ(sem_trywait(m_trapEvent), 0);
    EXPECT_EQ(SendAs(kNobody, kNobody), 0) << "anybody else";
    EXPECT_EQ(sem_trywait(m_trapEvent), -1);
}

class NoAgent : public ::testing::Test {
protected:
    void SetUp() override { UseOwnObjectNames(); }
};

TEST_F(NoAgent, SendTrapFailsAndCreatesNothing) {
    EXPECT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 1, "1.3.6.1.4.1.1.0", "m"), 0);
    EXPECT_FALSE(RegionExists(RegionName()));
    EXPECT_FALSE(SemaphoreExists(SemaphoreName()));
}

TEST_F(NoAgent, SendTrapUsesTheFixedNamesAndCreatesNothing) {
    unsetenv(TARN_SNMP_NAME_SUFFIX_ENV);
    if (RegionExists(TARN_SHARED_MEM_NAME) || SemaphoreExists(TARN_TRAP_SEMAPHORE_NAME)) {
        GTEST_SKIP() << "an SNMP agent of the system runs on this machine";
    }
    EXPECT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 1, "1.3.6.1.4.1.1.0", "m"), 0);
    EXPECT_FALSE(RegionExists(TARN_SHARED_MEM_NAME));
    EXPECT_FALSE(SemaphoreExists(TARN_TRAP_SEMAPHORE_NAME));
}

TEST_F(NoAgent, WithoutTheRegionTheSemaphoreIsNotPosted) {
    sem_t* semaphore = sem_open(SemaphoreName().c_str(), O_CREAT | O_EXCL, 0600, 0);
    ASSERT_NE(semaphore, SEM_FAILED);
    EXPECT_EQ(SnmpSendTrap("1.3", 1, "1.3", "m"), 0);
    EXPECT_EQ(sem_trywait(semaphore), -1);
    EXPECT_FALSE(RegionExists(RegionName()));
    sem_close(semaphore);
    sem_unlink(SemaphoreName().c_str());
}

// A region of the wrong size (another program's, or a broken one) is
// refused instead of being written past its end.
TEST_F(NoAgent, ARegionThatIsMissingOrTooSmallIsNotWritten) {
    for (const bool withSemaphore : {false, true}) {
        const int fd = shm_open(RegionName().c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, withSemaphore ? 100 : sizeof(TARNMemStruct)), 0);
        close(fd);
        sem_t* semaphore =
            withSemaphore ? sem_open(SemaphoreName().c_str(), O_CREAT, 0600, 0) : nullptr;
        EXPECT_EQ(SnmpSendTrap("1.3", 1, "1.3", "m"), 0);
        if (semaphore != nullptr) {
            EXPECT_EQ(sem_trywait(semaphore), -1);
            sem_close(semaphore);
            sem_unlink(SemaphoreName().c_str());
        } else {
            EXPECT_EQ(ReadRegion().sMessage[0], '\0') << "the region stays unchanged";
        }
        shm_unlink(RegionName().c_str());
    }
}

struct PlantCase {
    const char* name;
    bool agentsGroup; // the attacker gives the objects a group of the console
    mode_t mode;
};

void PrintTo(const PlantCase& c, std::ostream* out) {
    *out << c.name;
}

class PlantedObjects : public ::testing::TestWithParam<PlantCase> {
protected:
    void SetUp() override { UseOwnObjectNames(); }
};

// Another account creates the region and the semaphore before the agent
// starts, looking like a running agent: the console must neither write the
// trap where that account reads it nor report the trap as sent.
TEST_P(PlantedObjects, GetNoTrapFromTheConsole) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "planting objects as another account needs root";
    }
    const PlantCase& c = GetParam();
    CPlantedObjects planted(CPlantedObjects::kNobody, c.agentsGroup ? getegid() : 65534, c.mode);
    ASSERT_TRUE(planted.Planted());
    EXPECT_EQ(SnmpSendTrap("1.3.6.1.4.1.0", 1, "1.3.6.1.4.1.1.0", "geheim"), 0);
    EXPECT_EQ(CPlantedObjects::Message(), "");
    EXPECT_EQ(CPlantedObjects::SemaphoreCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Attacks, PlantedObjects,
                         ::testing::Values(PlantCase{"OpenToEverybody", false, 0666},
                                           PlantCase{"InTheConsolesGroup", true, 0660},
                                           PlantCase{"OwnGroupOnly", false, 0660}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrustedObject, NeedsATrustedOwnerAGroupOfOursAndNoAccessForOthers) {
    struct stat status {};
    status.st_mode = S_IFREG | 0660;
    status.st_size = 776;
    status.st_uid = 0;
    status.st_gid = getegid();
    EXPECT_TRUE(CTrapSlot::IsTrustedObject(status, 776));
    EXPECT_FALSE(CTrapSlot::IsTrustedObject(status, 777)) << "too small";
    struct stat other = status;
    other.st_mode = S_IFREG | 0664;
    EXPECT_FALSE(CTrapSlot::IsTrustedObject(other, 776)) << "others may read";
    other = status;
    other.st_mode = S_IFLNK | 0660;
    EXPECT_FALSE(CTrapSlot::IsTrustedObject(other, 776)) << "not a regular file";
    other = status;
    other.st_uid = 65534;
    EXPECT_FALSE(CTrapSlot::IsTrustedObject(other, 776)) << "an untrusted owner";
    setenv("TARN_SNMP_AGENT_USER", "nobody", 1);
    EXPECT_TRUE(CTrapSlot::IsTrustedObject(other, 776)) << "the agent's account";
    unsetenv("TARN_SNMP_AGENT_USER");
    if (getegid() != 65534 && geteuid() != 65534) {
        other = status;
        other.st_gid = 65534;
        EXPECT_EQ(CTrapSlot::IsTrustedObject(other, 776), status.st_uid == geteuid())
            << "a group we are not in counts only for our own objects";
    }
}

TEST_F(NoAgent, ObjectsLeftBehindByACrashedAgentAreNotWritten) {
    const int fd = shm_open(RegionName().c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, sizeof(TARNMemStruct)), 0);
    close(fd);
    sem_t* semaphore = sem_open(SemaphoreName().c_str(), O_CREAT | O_EXCL, 0600, 0);
    ASSERT_NE(semaphore, SEM_FAILED);
    EXPECT_EQ(SnmpSendTrap("1.3", 1, "1.3", "m"), 0);
    EXPECT_EQ(sem_trywait(semaphore), -1);
    EXPECT_EQ(ReadRegion().sMessage[0], '\0');
    sem_close(semaphore);
    sem_unlink(SemaphoreName().c_str());
    shm_unlink(RegionName().c_str());
}

} // namespace
