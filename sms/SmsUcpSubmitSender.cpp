#include "SmsUcpSubmitSender.h"

namespace {

const CSmsCharTable kSubmitTable = {{':', 0x3A},  {'\\', 0x2F}, {'_', 0x2D},  {'$', 0x24},
                                    {'^', 0x5E},  {0xA7, 0x40}, {0xC4, 0x5B}, {0xD6, 0x5C},
                                    {0xDC, 0x5D}, {0xDF, 0x7E}, {0xE4, 0x7B}, {0xF6, 0x7C},
                                    {0xFC, 0x7D}};

} // namespace

CSmsUcpSubmitSender::CSmsUcpSubmitSender() : CSmsUcpSender(kSubmitTable) {}

std::string CSmsUcpSubmitSender::OperationFields(const std::string& encodedText,
                                                 const std::string& sender,
                                                 const std::string& recipient) const {
    return recipient + "/" + (sender.empty() ? "0" : sender) + "/" + std::string(16, '/') + "3//" +
           encodedText + std::string(13, '/');
}
