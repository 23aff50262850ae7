// tarn-modem-sim: a Hayes modem and SMS centre on a pseudo-terminal, for
// trying the SMS library without hardware. Prints the device to put into the
// registry file as a modem line, then logs every command and every unit the
// centre receives until interrupted.
#include "ModemSimulator.h"
#include "ProgramOptions.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

const char* kUsage =
    "usage: tarn-modem-sim [--centre tap|ucp] [--dial connect|busy|no-carrier|no-answer|"
    "no-dialtone|error|silence]\n"
    "          [--reset ok|error|silence] [--no-echo] [--link PATH]\n"
    "          [--ucp-error NN] [--tap-nak] [--silent-centre] [--pieces N]\n"
    "       tarn-modem-sim --help | --version\n"
    "Opens a pseudo-terminal that behaves as a modem dialling an SMS centre.\n"
    "The centre accepts every message unless told to refuse (UCP error NN,\n"
    "TAP NAK) or to stay silent; --pieces cuts every answer into N pieces.\n"
    "--link makes PATH a symbolic link to the terminal, for a stable\n"
    "Line0 entry in the registry file.\n";

} // namespace

int main(int argc, char** argv) {
    if (AnswerStandardOption(argc, argv, "tarn-modem-sim", kUsage))
        return 0;
    const std::map<std::string, SimDialOutcome> dials = {
        {"connect", SimDialOutcome::Connect},        {"busy", SimDialOutcome::Busy},
        {"no-carrier", SimDialOutcome::NoCarrier},   {"no-answer", SimDialOutcome::NoAnswer},
        {"no-dialtone", SimDialOutcome::NoDialtone}, {"error", SimDialOutcome::Error},
        {"silence", SimDialOutcome::Silence}};
    const std::map<std::string, SimResetOutcome> resets = {{"ok", SimResetOutcome::Ok},
                                                           {"error", SimResetOutcome::Error},
                                                           {"silence", SimResetOutcome::Silence}};
    SimCentreKind centre = SimCentreKind::Ucp;
    SimDialOutcome dial = SimDialOutcome::Connect;
    SimResetOutcome reset = SimResetOutcome::Ok;
    bool echo = true;
    bool tapRefusal = false;
    bool silentCentre = false;
    size_t pieces = 1;
    std::string ucpError;
    std::string link;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        if (option == "--centre" && (value == "tap" || value == "ucp")) {
            centre = value == "tap" ? SimCentreKind::Tap : SimCentreKind::Ucp;
        } else if (option == "--dial" && dials.count(value) != 0) {
            dial = dials.at(value);
        } else if (option == "--reset" && resets.count(value) != 0) {
            reset = resets.at(value);
        } else if (option == "--link" && !value.empty()) {
            link = value;
        } else if (option == "--ucp-error" && value.size() == 2) {
            ucpError = value;
        } else if (option == "--pieces" && std::atoi(value.c_str()) > 0) {
            pieces = static_cast<size_t>(std::atoi(value.c_str()));
        } else if (option == "--no-echo" || option == "--tap-nak" || option == "--silent-centre") {
            echo = echo && option != "--no-echo";
            tapRefusal = tapRefusal || option == "--tap-nak";
            silentCentre = silentCentre || option == "--silent-centre";
            continue;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
        ++i;
    }

    CModemSimulator modem(centre);
    modem.SetDialOutcome(dial);
    modem.SetResetOutcome(reset);
    modem.SetEcho(echo);
    modem.ConfigureCentre([&](CCentreSimulator& centre) {
        centre.SetUcpError(ucpError);
        centre.SetTapRefusal(tapRefusal);
        centre.SetSilent(silentCentre);
        centre.SetPieces(pieces);
    });
    modem.SetLog([](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    });
    std::string error;
    if (!modem.Start(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!link.empty()) {
        unlink(link.c_str());
        if (symlink(modem.DevicePath().c_str(), link.c_str()) != 0) {
            std::fprintf(stderr, "cannot link %s: %s\n", link.c_str(), std::strerror(errno));
            return 1;
        }
    }
    std::printf("modem on %s\n", modem.DevicePath().c_str());
    std::fflush(stdout);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (g_stop == 0) {
        pause();
    }
    modem.Stop();
    if (!link.empty()) {
        unlink(link.c_str());
    }
    return 0;
}
