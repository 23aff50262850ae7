// TARN_Gateway: pings hosts and sends Internet mail for the console, which talks
// to it over a Unix-domain socket in the per-user runtime directory.
#include "AppPaths.h"
#include "GatewayServer.h"
#include "ProgramOptions.h"

#include <csignal>
#include <cstdio>
#include <curl/curl.h>

namespace {

const char* kUsage = "Usage: TARN_Gateway\n"
                     "       TARN_Gateway --help | --version\n"
                     "\n"
                     "The TARN! gateway: pings hosts and sends Internet mail for the console,\n"
                     "which talks to it over the Unix-domain socket TARN_Gateway.sock in the\n"
                     "runtime directory ($XDG_RUNTIME_DIR, else /tmp/tarn-<uid>/). It runs in\n"
                     "the foreground until SIGINT or SIGTERM.\n";

} // namespace

int main(int argc, char** argv) {
    if (AnswerStandardOption(argc, argv, "TARN_Gateway", kUsage))
        return 0;
    if (argc > 1) {
        std::fprintf(stderr, "TARN_Gateway: unknown option '%s'\n\n%s", argv[1], kUsage);
        return 2;
    }
    // A client that hangs up before its answer must not end the gateway.
    std::signal(SIGPIPE, SIG_IGN);
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        std::fprintf(stderr, "TARN_Gateway: libcurl cannot be initialised\n");
        return 1;
    }
    const std::string runtimeDirectory = GetRuntimeDirectory();
    const std::string unsafe = CheckRuntimeDirectory(runtimeDirectory);
    if (!unsafe.empty()) {
        std::fprintf(stderr, "TARN_Gateway: the runtime directory %s is not safe: %s\n",
                     runtimeDirectory.c_str(), unsafe.c_str());
        curl_global_cleanup();
        return 1;
    }
    int status = 0;
    {
        CGatewayServer server(runtimeDirectory);
        switch (server.Listen()) {
        case CGatewayServer::ListenResult::Listening:
            server.Run();
            break;
        case CGatewayServer::ListenResult::AlreadyRunning:
            std::fprintf(stderr, "TARN_Gateway: another gateway of this user is running\n");
            break;
        case CGatewayServer::ListenResult::Failed:
            std::perror("TARN_Gateway: cannot listen on its socket");
            status = 1;
            break;
        }
    }
    curl_global_cleanup();
    return status;
}
