#include "HeliowatchVersion.h"
#include "PlantBuilder.h"
#include "ScaledClock.h"
#include "SimOptions.h"
#include "SimServer.h"
#include "platform/PortDirectory.h"

#include <csignal>
#include <cstdio>
#include <ctime>

using namespace sim;

namespace {
SimServer* g_server = nullptr;

void OnStopSignal(int) {
    if (g_server != nullptr) {
        g_server->RequestStop();
    }
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool RunStartCommands(SimServer& server, const SimOptions& options) {
    for (const std::string& command : options.commands) {
        const std::string reply = server.Execute(command);
        if (reply.rfind("error", 0) == 0) {
            std::fprintf(stderr, "heliowatch-sim: --exec '%s': %s\n", command.c_str(),
                         reply.c_str());
            return false;
        }
    }
    return true;
}

void AnnounceReady(SimServer& server, const SimOptions& options) {
    for (const BusLayout& bus : options.buses) {
        std::printf("bus %s link %s pty %s\n", PortEntryName(bus.port).c_str(),
                    server.LinkPath(bus.port).c_str(), server.PtyPath(bus.port).c_str());
    }
    if (!options.controlPath.empty()) {
        std::printf("control %s\n", options.controlPath.c_str());
    }
    std::printf("ready\n");
}
} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    SimOptions options;
    std::string error;
    switch (SimOptions::Parse({argv + 1, argv + argc}, options, error)) {
    case SimOptions::Outcome::Help: std::fputs(SimOptions::Usage().c_str(), stdout); return 0;
    case SimOptions::Outcome::Version: std::puts("heliowatch-sim " HELIOWATCH_VERSION); return 0;
    case SimOptions::Outcome::Invalid:
        std::fprintf(stderr, "heliowatch-sim: %s\n\n%s", error.c_str(),
                     SimOptions::Usage().c_str());
        return 2;
    case SimOptions::Outcome::Run: break;
    }
    const InverterFactory factory = MakeFactory(options);
    const ScaledClock clock(SimulatedStart(options, std::time(nullptr)), options.speed);
    SimServer server(MakeServerConfig(options, factory), clock, factory);
    g_server = &server;
    InstallSignalHandlers();
    if (!server.Open(error)) {
        std::fprintf(stderr, "heliowatch-sim: %s\n", error.c_str());
        return 1;
    }
    if (!RunStartCommands(server, options)) {
        server.Close();
        return 2;
    }
    AnnounceReady(server, options);
    server.Run();
    server.Close();
    return 0;
}
