// The time-outs of one dial-up. Production runs at scale 1; the test suite
// shortens every wait through TARN_SMS_TIME_SCALE so that a 45-second dial
// wait or a 150-second answer wait takes milliseconds.
#pragma once

#include <chrono>

class CSmsTiming {
public:
    using Clock = std::chrono::steady_clock;

    explicit CSmsTiming(double scale = 1.0);

    // TARN_SMS_TIME_SCALE (test only): a factor above 0 and at most 1; any
    // other or missing value means 1.
    static CSmsTiming FromEnvironment();

    double Scale() const { return m_dScale; }
    // A nominal duration in milliseconds, scaled (never below 1 ms unless 0).
    std::chrono::milliseconds Scaled(long nominalMs) const;
    Clock::time_point DeadlineAfter(long nominalMs) const;
    void Sleep(long nominalMs) const;

private:
    double m_dScale;
};
