// TARN_Gateway: pings hosts and sends Internet mail for the console, which talks
// to it over a Unix-domain socket in the per-user runtime directory.
#include "AppPaths.h"
#include "GatewayServer.h"

#include <csignal>
#include <cstdio>
#include <curl/curl.h>

int main() {
    // A client that hangs up before its answer must not end the gateway.
    std::signal(SIGPIPE, SIG_IGN);
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        std::fprintf(stderr, "TARN_Gateway: libcurl cannot be initialised\n");
        return 1;
    }
    int status = 0;
    {
        CGatewayServer server(GetRuntimeDirectory());
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
