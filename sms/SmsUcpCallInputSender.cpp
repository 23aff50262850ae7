#include "SmsUcpCallInputSender.h"

namespace {

const CSmsCharTable kCallInputTable = {{':', 0x3A},  {'\\', 0x2F}, {'_', 0x2D},  {'$', 0x20},
                                       {'^', 0x5D},  {0xA7, 0x5F}, {0xC4, 0x5B}, {0xD6, 0x5C},
                                       {0xDC, 0x5E}, {0xDF, 0x1E}, {0xE4, 0x7B}, {0xF6, 0x7C},
                                       {0xFC, 0x7E}};

} // namespace

CSmsUcpCallInputSender::CSmsUcpCallInputSender() : CSmsUcpSender(kCallInputTable) {}

std::string CSmsUcpCallInputSender::OperationFields(const std::string& encodedText,
                                                    const std::string&,
                                                    const std::string& recipient) const {
    return recipient + "///3/" + encodedText + "/";
}
