// Feeds arbitrary bytes as the mail profiles file and logs on to profile
// "TARN" with password "geheim", and to the profile the file names first.
// Checks that a profile is given only with a valid sender address, a submit
// command and a positive time-out.
#include "FuzzSupport.h"
#include "IniFile.h"
#include "MailProfile.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string g_path;

void Check(const std::string& name, const std::string& password) {
    const auto profile = CMailProfile::LogOn(name, password);
    if (profile == nullptr)
        return;
    Require(IsMailAddress(profile->From().address));
    Require(!profile->SubmitCommand().empty());
    Require(profile->SubmitTimeoutSeconds() > 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_path = FuzzScratchDirectory("/tmp") + "/mailprofiles.ini";
    setenv("TARN_MAIL_PROFILES", g_path.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream(g_path, std::ios::binary | std::ios::trunc) << text;
    Check("TARN", "geheim");
    const CIniFile file = CIniFile::Parse(text);
    const std::string first =
        text.substr(text.find('[') == std::string::npos ? 0 : text.find('[') + 1);
    const std::string name = first.substr(0, first.find(']'));
    Check(name, file.GetString(name, "Password"));
    return 0;
}
