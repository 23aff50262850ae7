#include "SmsTiming.h"

#include <cstdlib>
#include <thread>

CSmsTiming::CSmsTiming(double scale) : m_dScale(scale > 0.0 && scale <= 1.0 ? scale : 1.0) {}

CSmsTiming CSmsTiming::FromEnvironment() {
    const char* text = std::getenv("TARN_SMS_TIME_SCALE");
    if (text == nullptr || *text == '\0') {
        return CSmsTiming();
    }
    char* end = nullptr;
    const double scale = std::strtod(text, &end);
    return CSmsTiming(*end == '\0' ? scale : 1.0);
}

std::chrono::milliseconds CSmsTiming::Scaled(long nominalMs) const {
    if (nominalMs <= 0) {
        return std::chrono::milliseconds(0);
    }
    const long scaled = static_cast<long>(static_cast<double>(nominalMs) * m_dScale);
    return std::chrono::milliseconds(scaled < 1 ? 1 : scaled);
}

CSmsTiming::Clock::time_point CSmsTiming::DeadlineAfter(long nominalMs) const {
    return Clock::now() + Scaled(nominalMs);
}

void CSmsTiming::Sleep(long nominalMs) const {
    std::this_thread::sleep_for(Scaled(nominalMs));
}
