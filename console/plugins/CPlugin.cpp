#include "CPlugin.h"

#include "LUTool.h"

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <fstream>

namespace {

// The identifying bytes of an ELF header: class, data encoding, type, machine.
struct ElfIdentity {
    unsigned char nClass = 0;
    unsigned char nData = 0;
    uint16_t nType = 0;
    uint16_t nMachine = 0;
};

// Reads the identity of an ELF file; false when the file cannot be read or is no ELF file.
bool ReadElfIdentity(const std::string& strFileName, bool& bReadable, ElfIdentity& identity) {
    std::ifstream file(strFileName, std::ios::binary);
    bReadable = file.is_open();
    unsigned char header[EI_NIDENT + 2 * sizeof(uint16_t)] = {};
    if (!bReadable || !file.read(reinterpret_cast<char*>(header), sizeof header))
        return false;
    if (std::memcmp(header, ELFMAG, SELFMAG) != 0)
        return false;
    identity.nClass = header[EI_CLASS];
    identity.nData = header[EI_DATA];
    // e_type and e_machine follow e_ident in both classes, in the file's byte order;
    // they are only compared with the running program's, read the same way.
    std::memcpy(&identity.nType, header + EI_NIDENT, sizeof(uint16_t));
    std::memcpy(&identity.nMachine, header + EI_NIDENT + sizeof(uint16_t), sizeof(uint16_t));
    return true;
}

// Whether a library that dlopen refused is not a loadable image for this
// process at all (no ELF file, another architecture, not a shared object), as
// opposed to a library that merely could not be found or linked.
bool IsForeignImage(const std::string& strFileName) {
    bool bReadable = false;
    ElfIdentity library;
    if (!ReadElfIdentity(strFileName, bReadable, library))
        return bReadable;
    bool bSelfReadable = false;
    ElfIdentity self;
    if (!ReadElfIdentity("/proc/self/exe", bSelfReadable, self))
        return false;
    return library.nClass != self.nClass || library.nData != self.nData ||
           library.nMachine != self.nMachine || library.nType != ET_DYN;
}

// dlopen searches the library path for a name without "/"; a plug-in file is always a path.
std::string AsPath(const std::string& strFileName) {
    return strFileName.find('/') == std::string::npos ? "./" + strFileName : strFileName;
}

template <class Function> Function LookUp(void* hModule, const char* strName) {
    return reinterpret_cast<Function>(::dlsym(hModule, strName));
}

} // namespace

int CPlugin::Load(const std::string& strFileName, const std::string& strMinimumVersion) {
    ClearExports();
    m_info = PluginInfo{};
    m_strFileName = strFileName;
    m_hModule = ::dlopen(AsPath(strFileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    LUTool().Trace(5, "Loaded Plugin Library");
    if (!m_hModule) {
        LUTool().Trace(5, "%s", ::dlerror());
        return IsForeignImage(strFileName) ? LoadNotPlugin : LoadFailed;
    }
    if (!BindExports())
        return LoadNotPlugin;
    LUTool().Trace(5, "Getting Plugin Information");
    GetInfo();
    if (m_info.Type == 0)
        return LoadNotPlugin;
    return m_info.Version.compare(strMinimumVersion) < 0 ? LoadVersionTooLow : LoadOk;
}

bool CPlugin::BindExports() {
    m_pfnGetPluginInfo = LookUp<GetPluginInfoFunction>(m_hModule, "GetPluginInfo");
    if (!m_pfnGetPluginInfo)
        return false;
    m_pfnCreateInstance = LookUp<CreateInstanceFunction>(m_hModule, "CreateInstance");
    if (!m_pfnCreateInstance)
        return false;
    m_pfnDestroyInstance = LookUp<DestroyInstanceFunction>(m_hModule, "DestroyInstance");
    return m_pfnDestroyInstance != nullptr;
}

void CPlugin::Unload() {
    if (m_hModule)
        ::dlclose(m_hModule);
    m_hModule = nullptr;
    ClearExports();
}

void CPlugin::ClearExports() {
    m_pfnGetPluginInfo = nullptr;
    m_pfnCreateInstance = nullptr;
    m_pfnDestroyInstance = nullptr;
}

void CPlugin::GetInfo() {
    TARN_ASSERT(m_pfnGetPluginInfo != NULL, "Plug-In Funktion GetPluginInfo nicht geladen");
    if (m_pfnGetPluginInfo)
        m_pfnGetPluginInfo(&m_info);
}

int32_t CPlugin::CreateInstance(int32_t nAuditionID, const std::string& strComputer,
                                IPluginHost* pHost, IPluginInstance** ppInstance) {
    TARN_ASSERT(m_pfnCreateInstance != NULL, "Plug-In Funktion CreateInstance nicht geladen");
    *ppInstance = nullptr;
    if (!m_pfnCreateInstance)
        return -1;
    int32_t nResult = m_pfnCreateInstance(nAuditionID, strComputer.c_str(), pHost, ppInstance);
    // An instance counts only with result 0 and a pointer; a non-zero result
    // keeps nothing, so nothing needs to be given back.
    if (nResult == 0 && *ppInstance == nullptr)
        return -1;
    if (nResult != 0)
        *ppInstance = nullptr;
    return nResult;
}

void CPlugin::DestroyInstance(IPluginInstance* pInstance) {
    TARN_ASSERT(m_pfnDestroyInstance != NULL, "Plug-In Funktion DestroyInstance nicht geladen");
    if (m_pfnDestroyInstance && pInstance)
        m_pfnDestroyInstance(pInstance);
}
