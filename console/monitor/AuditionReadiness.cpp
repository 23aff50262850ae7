#include "AuditionReadiness.h"

#include "MessageText.h"
#include "StringTable.h"
#include "TARNTool.h"

namespace {

constexpr unsigned IDS_AUDITION_CANNOT_RUN = 7702;
constexpr unsigned IDS_UNKNOWN_AUDITION_TYPE = 7703;
constexpr unsigned IDS_AUDITION_DETAILS_MISSING = 7704;
constexpr unsigned IDS_PLUGIN_NOT_INSTALLED = 7705;

} // namespace

std::string AuditionCannotRunReason(const DBAudition& audition, bool pluginAvailable) {
    const auto type = static_cast<AuditionType>(audition.AUDITION_TYPE);
    if (!IsValidAuditionType(type))
        return FillMessage(LoadTarnString(IDS_UNKNOWN_AUDITION_TYPE),
                           {std::to_string(audition.AUDITION_TYPE)});
    if (!audition.DetailsRead)
        return LoadTarnString(IDS_AUDITION_DETAILS_MISSING);
    if (type == AuditionType::Plugin && !pluginAvailable)
        return FillMessage(LoadTarnString(IDS_PLUGIN_NOT_INSTALLED),
                           {std::to_string(audition.Plugin.PLUGIN_TYPE)});
    return "";
}

std::string AuditionCannotRunLine(const std::string& reason) {
    return FillMessage(LoadTarnString(IDS_AUDITION_CANNOT_RUN), {reason});
}
