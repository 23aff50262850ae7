#include "AuditionReadiness.h"

#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "TARNTool.h"

std::string AuditionCannotRunReason(const DBAudition& audition, bool pluginAvailable) {
    const auto type = static_cast<AuditionType>(audition.AUDITION_TYPE);
    if (!IsValidAuditionType(type))
        return FillMessage(LoadTarnString(IDS_UNKNOWN_AUDITION_TYPE),
                           {std::to_string(audition.AUDITION_TYPE)});
    if (!audition.DetailsRead)
        return LoadTarnString(IDS_AUDITION_DETAILS_MISSING);
    if (type == AuditionType::Plugin && !pluginAvailable)
        return FillMessage(LoadTarnString(IDS_PLUGIN_TYPE_MISSING),
                           {std::to_string(audition.Plugin.PLUGIN_TYPE)});
    return "";
}

std::string AuditionCannotRunLine(const std::string& reason) {
    return FillMessage(LoadTarnString(IDS_AUDITION_CANNOT_RUN), {reason});
}
