#include "CommBenchPlant.h"

#include "InverterFactory.h"
#include "InverterProfile.h"
#include "comm/CommEnvironment.h"
#include "comm/CommShared.h"
#include "comm/Frame.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "platform/ComSerial.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "platform/PortDirectory.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr int BAUD = 9600;
constexpr int DATA_BITS = 8;
constexpr int ACK_FRAME_BYTES = static_cast<int>(FRAME_OVERHEAD) + 1;
constexpr int SIM_READY_TIMEOUT_MS = 10000;

// The station's start-up re-register broadcast would make the inverters
// forget the addresses they were given beforehand; every other frame goes to
// the real port.
class KeepAddressesPort : public SerialPort {
public:
    explicit KeepAddressesPort(const SerialSettings& settings) : m_port(settings) {}

    int Open() override { return m_port.Open(); }
    bool IsOpen() const override { return m_port.IsOpen(); }
    void Close() override { m_port.Close(); }
    void PurgeRx() override { m_port.PurgeRx(); }
    void PurgeTx() override { m_port.PurgeTx(); }
    int Send(const std::uint8_t* bytes, int count) override {
        const bool reRegister = count > 5 && bytes[3] == BROADCAST_ADDRESS &&
                                bytes[4] == CTRL_REGISTER && bytes[5] == FN_RE_REGISTER;
        return reRegister ? 1 : m_port.Send(bytes, count);
    }
    int Receive(std::uint8_t* buffer, int& count) override { return m_port.Receive(buffer, count); }
    ReceiveOutcome ReceiveWhole(std::uint8_t* buffer, int& count, const ReplyEnd& end) override {
        return m_port.ReceiveWhole(buffer, count, end);
    }

private:
    CSerial m_port;
};

std::string SimulatorPath() {
    if (const char* path = std::getenv("HELIOWATCH_SIM"); path != nullptr && *path != '\0') {
        return path;
    }
    std::error_code ignored;
    return (std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path() /
            "heliowatch-sim")
        .string();
}

std::string MakeTempDirectory() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "heliowatch-bench-XXXXXX").string();
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string{};
}

bool WaitForReadyLine(int output) {
    std::string seen;
    pollfd entry{output, POLLIN, 0};
    while (seen.find("ready\n") == std::string::npos) {
        if (poll(&entry, 1, SIM_READY_TIMEOUT_MS) <= 0) {
            return false;
        }
        char chunk[256];
        const ssize_t got = read(output, chunk, sizeof chunk);
        if (got <= 0) {
            return false;
        }
        seen.append(chunk, static_cast<std::size_t>(got));
    }
    return true;
}

bool GiveAddress(CSerial& serial, const std::string& serialNo, std::uint8_t address) {
    BusMessage request;
    request.SetRequest(BROADCAST_ADDRESS, CTRL_REGISTER, FN_SEND_ADDRESS, SERIAL_NO_LENGTH + 1);
    std::copy(serialNo.begin(), serialNo.end(), request.Data());
    request.Data()[SERIAL_NO_LENGTH] = address;
    std::array<std::uint8_t, FRAME_BUFFER_SIZE> frame{};
    const auto length = static_cast<int>(BuildFrame(frame.data(), request));
    if (serial.Send(frame.data(), length) != 1) {
        return false;
    }
    int count = ACK_FRAME_BYTES;
    return serial.Receive(frame.data(), count) == 1 &&
           CheckReplyFrame(frame.data(), static_cast<std::size_t>(count), FN_SEND_ADDRESS, true);
}

std::int64_t ThreadCpuUs() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1'000'000LL + usage.ru_utime.tv_usec +
           usage.ru_stime.tv_usec;
}
} // namespace

PolledPlant::PolledPlant(int buses, int invertersPerBus, bool withHistory, PlantSetup setup)
    : m_buses(buses), m_invertersPerBus(invertersPerBus), m_withHistory(withHistory),
      m_setup(setup) {}

PolledPlant::~PolledPlant() {
    Stop();
}

bool PolledPlant::Start(std::string& error) {
    m_directory = MakeTempDirectory();
    if (m_directory.empty()) {
        error = "no temporary directory";
        return false;
    }
    SetPortDirectory(m_directory + "/ports");
    SetDataDirectory(m_directory);
    std::filesystem::create_directories(HistLogDirectory());
    if (!StartSimulator(error) || (m_setup.registered && !AssignAddresses(error))) {
        return false;
    }
    BuildGroups();
    g_hListWnd = this;
    g_viewsCreated = 1;
    g_nInterval = m_setup.interval;
    g_bFastReplies = m_setup.fastReplies;
    m_started = std::chrono::steady_clock::now();
    for (const auto& group : m_groups) {
        CommEnvironment environment = CommEnvironment::Default();
        if (m_setup.registered) {
            environment.makePort = [](const SerialSettings& settings) {
                return std::make_unique<KeepAddressesPort>(settings);
            };
        }
        environment.sink = this;
        m_threads.push_back(std::make_unique<CommThread>(group.get(), std::move(environment)));
    }
    return true;
}

void PolledPlant::Stop() {
    g_hExitEvent.Set();
    m_threads.clear();
    g_hExitEvent.Reset();
    g_hListWnd = nullptr;
    g_viewsCreated = 0;
    g_nInterval = 2;
    g_bFastReplies = false;
    m_groups.clear();
    StopSimulator();
    if (!m_directory.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
        m_directory.clear();
    }
    SetPortDirectory("");
}

bool PolledPlant::StartSimulator(std::string& error) {
    const std::string program = SimulatorPath();
    std::vector<std::string> args{program, "--port-dir", m_directory + "/ports", "--start",
                                  "12:00"};
    for (int port = 1; port <= m_buses; ++port) {
        args.push_back("--bus");
        args.push_back("COM" + std::to_string(port) + ":" + sim::KindName(m_setup.kind) + "*" +
                       std::to_string(m_invertersPerBus));
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        error = "pipe failed";
        return false;
    }
    m_simulator = fork();
    if (m_simulator == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    m_simulatorOutput = pipeFds[0];
    if (m_simulator < 0 || !WaitForReadyLine(m_simulatorOutput)) {
        error = "simulator " + program + " did not start";
        return false;
    }
    return true;
}

bool PolledPlant::AssignAddresses(std::string& error) {
    const sim::InverterFactory factory;
    std::vector<std::thread> workers;
    std::atomic<int> failedBuses{0};
    for (int port = 1; port <= m_buses; ++port) {
        workers.emplace_back([&, port] {
            CSerial serial(port, BAUD, 0, DATA_BITS, 0);
            bool given = serial.Open() == 1;
            for (int position = 1; given && position <= m_invertersPerBus; ++position) {
                given = GiveAddress(serial, factory.SerialFor(port, position),
                                    static_cast<std::uint8_t>(position));
            }
            failedBuses += given ? 0 : 1;
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    if (failedBuses > 0) {
        error = "inverters did not take their addresses";
        return false;
    }
    return true;
}

void PolledPlant::BuildGroups() {
    const sim::InverterFactory factory;
    for (int port = 1; port <= m_buses; ++port) {
        auto group = std::make_unique<CInverterGroup>();
        group->m_nComPort = port;
        group->m_nBaudRate = BAUD;
        group->m_nDataBits = DATA_BITS;
        for (int position = 1; m_setup.registered && position <= m_invertersPerBus; ++position) {
            auto inverter = group->CreateInverter(static_cast<std::uint8_t>(position));
            inverter->m_strSerialNo = factory.SerialFor(port, position);
            const bool three = m_setup.kind == sim::InverterKind::Three;
            inverter->m_nPhaseType = three ? 3 : 1;
            inverter->m_pRuntimeData =
                three ? std::unique_ptr<RuntimeData>(std::make_unique<ThreeRuntimeData>())
                      : std::make_unique<SingleRuntimeData>();
            inverter->m_runtimeFormat = sim::DefaultRuntimeFields(m_setup.kind);
            inverter->m_paramFormat = sim::DefaultParamFields();
            group->m_nNextAddress = position + 1;
            group->AppendInverter(std::move(inverter));
        }
        m_groups.push_back(std::move(group));
    }
}

void PolledPlant::StopSimulator() {
    if (m_simulator > 0) {
        kill(m_simulator, SIGTERM);
        waitpid(m_simulator, nullptr, 0);
        m_simulator = -1;
    }
    if (m_simulatorOutput >= 0) {
        close(m_simulatorOutput);
        m_simulatorOutput = -1;
    }
}

void PolledPlant::OnSampleDecoded(CInverter& inverter) {
    PollStamp stamp{inverter.m_pGroup, inverter.m_nAddress, std::chrono::steady_clock::now(),
                    ThreadCpuUs()};
    {
        std::lock_guard lock(m_stampsLock);
        m_stamps.push_back(stamp);
    }
    if (m_withHistory) {
        m_station.OnSampleDecoded(inverter);
    }
}

void PolledPlant::Post(unsigned, std::uintptr_t) {}

double PolledPlant::StampMegabytes() const {
    std::lock_guard lock(m_stampsLock);
    // Only the pages written are resident.
    return static_cast<double>(m_stamps.size() * sizeof(PollStamp)) / (1024 * 1024);
}

std::size_t PolledPlant::SeriesSamples() const {
    std::size_t samples = 0;
    for (const auto& group : m_groups) {
        auto lock = group->Lock();
        for (const auto& inverter : group->m_inverters) {
            samples += inverter->m_powerGraph.SampleCount();
        }
    }
    return samples;
}

std::size_t PolledPlant::DescribedRecords() const {
    std::size_t described = 0;
    for (const auto& group : m_groups) {
        auto lock = group->Lock();
        for (const auto& inverter : group->m_inverters) {
            described += inverter->m_pRuntimeData ? 1 : 0;
        }
    }
    return described;
}

std::vector<PollStamp> PolledPlant::Stamps() const {
    std::lock_guard lock(m_stampsLock);
    return m_stamps;
}

std::size_t PolledPlant::StampCount() const {
    std::lock_guard lock(m_stampsLock);
    return m_stamps.size();
}
