#include "AuditionComputer.h"

namespace {

const std::string& DetailServerPath(const DBAudition& audition) {
    static const std::string none;
    switch (static_cast<AuditionType>(audition.AUDITION_TYPE)) {
    case AuditionType::App:
        return audition.App.SERVER_PATH;
    case AuditionType::Service:
        return audition.Service.SERVER_PATH;
    case AuditionType::NTEvtLog:
        return audition.NTEvtLog.SERVER_PATH;
    case AuditionType::Net:
        return audition.Net.SERVER_PATH;
    case AuditionType::Plugin:
        return audition.Plugin.SERVER_PATH;
    default:
        return none;
    }
}

} // namespace

std::string AuditionComputerOf(const DBAudition& audition) {
    const auto type = static_cast<AuditionType>(audition.AUDITION_TYPE);
    if (!IsValidAuditionType(type))
        return {};
    return GetAuditionComputer(type, DetailServerPath(audition));
}
