// Writes the seed inputs of every fuzz target, one folder per target under
// the directory given. Replies come from the simulator answering the
// station's own registration and poll.

#include "Conversation.h"
#include "FuzzInputs.h"
#include "model/InverterGroup.h"
#include "platform/SerialPort.h"
#include "sim/InverterFactory.h"
#include "sim/SimBus.h"
#include "store/FaultRecordCodec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {
// Carries requests to a simulated bus and keeps every reply read.
class RecordingPort : public SerialPort {
public:
    RecordingPort(sim::SimBus& bus, std::vector<Bytes>& replies) : m_bus(bus), m_replies(replies) {}

    int Open() override { return 1; }
    bool IsOpen() const override { return true; }
    void Close() override {}
    void PurgeRx() override {}
    void PurgeTx() override {}
    int Send(const std::uint8_t* bytes, int count) override {
        m_pending = m_bus.Receive(bytes, static_cast<std::size_t>(count), SAMPLE_TIME);
        return 1;
    }
    int Receive(std::uint8_t* buffer, int& count) override {
        m_pending.resize(std::min(m_pending.size(), static_cast<std::size_t>(count)));
        m_replies.push_back(m_pending);
        if (m_pending.empty()) {
            return 0;
        }
        count = static_cast<int>(m_pending.size());
        std::copy(m_pending.begin(), m_pending.end(), buffer);
        m_pending.clear();
        return 1;
    }

private:
    sim::SimBus& m_bus;
    std::vector<Bytes>& m_replies;
    Bytes m_pending;
};

struct Recording {
    std::vector<Bytes> replies; // the last one answers the poll
    Bytes runtimeFields;
};

Recording RecordConversation(sim::InverterKind kind) {
    const sim::InverterFactory factory;
    sim::SimBus bus(1);
    bus.AddInverter(factory.Make(kind, 1, 1, 0));
    Recording recording;
    CInverterGroup group;
    group.m_pSerial = std::make_unique<RecordingPort>(bus, recording.replies);
    RegisterAndPoll(group);
    recording.runtimeFields = group.Inverters().at(0)->m_runtimeFormat;
    return recording;
}

class SeedWriter {
public:
    explicit SeedWriter(std::filesystem::path root) : m_root(std::move(root)) {}

    void Write(const std::string& target, const std::string& name, const Bytes& bytes) const {
        std::filesystem::create_directories(m_root / target);
        std::ofstream out(m_root / target / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    void Write(const std::string& target, const std::string& name, const std::string& text) const {
        Write(target, name, Bytes(text.begin(), text.end()));
    }

private:
    std::filesystem::path m_root;
};

void WriteReplySeeds(const SeedWriter& seeds) {
    for (const auto kind : {sim::InverterKind::Single, sim::InverterKind::Three}) {
        const Recording recording = RecordConversation(kind);
        const std::string name = sim::KindName(kind);
        ConversationInput conversation;
        for (const Bytes& reply : recording.replies) {
            conversation.replies.push_back({false, reply});
        }
        seeds.Write("registration", name, conversation.Write());
        seeds.Write(
            "runtime_reply", name,
            RuntimeReplyInput{false, recording.runtimeFields, recording.replies.back()}.Write());
    }
}

Bytes FaultRecord(const char* serialNo, std::uint32_t errorBits, std::int32_t start,
                  std::int32_t end) {
    InvFaultRecord record;
    std::memcpy(record.serialNo.data(), serialNo, std::min(std::strlen(serialNo), std::size_t{16}));
    record.mode = 2;
    record.errorBits = errorBits;
    record.value1 = 2650;
    record.startTime = start;
    record.endTime = end;
    const FaultRecordBytes bytes = EncodeFaultRecord(record);
    return Bytes(bytes.begin(), bytes.end());
}

void WriteFaultFileSeeds(const SeedWriter& seeds) {
    const Bytes header(FAULT_FILE_HEADER.begin(), FAULT_FILE_HEADER.end());
    const Bytes closed = FaultRecord("SIM0000000001001", 0x20, 1781524800, 1781525400);
    const Bytes open = FaultRecord("SIM0000000001002", 0x10000, 1781526000, 0);
    Bytes twoRecords = header;
    twoRecords.insert(twoRecords.end(), closed.begin(), closed.end());
    twoRecords.insert(twoRecords.end(), open.begin(), open.end());
    Bytes torn = header;
    torn.insert(torn.end(), closed.begin(), closed.end());
    torn.insert(torn.end(), open.begin(), open.begin() + 13);
    seeds.Write("fault_file", "header-only", header);
    seeds.Write("fault_file", "two-records", twoRecords);
    seeds.Write("fault_file", "torn-record", torn);
}

void WriteSettingsSeeds(const SeedWriter& seeds) {
    seeds.Write("settings", "station.ini",
                std::string("[Interval]\nInterval=30\n\n[Com1]\nEnable=1\nEnvironmentEnable=1\n"
                            "EnvironmentCom=2\n\n[Com3]\nEnable=0\n"));
    seeds.Write("settings", "edited.ini",
                std::string("; by hand\r\n# ports\r\n[Com2]\r\n  Enable = 1 \r\n"
                            "EnvironmentCom=-1\r\n[Interval]\r\nInterval=4294967297\r\n"));
    seeds.Write("settings", "malformed.ini", std::string("[Com1\nEnable\n=1\n"));
}

void WriteNameSeeds(const SeedWriter& seeds) {
    seeds.Write("history_name", "serial", std::string("SIM0000000003001"));
    seeds.Write("history_name", "path", std::string("../../etc/passwd"));
    seeds.Write("history_name", "hidden", std::string(".hidden"));
    seeds.Write("history_name", "escape", std::string("\x1b[2J\r\nA B\tC"));
    seeds.Write("history_name", "all-ff", Bytes(16, 0xFF));
}

void WriteEventLineSeeds(const SeedWriter& seeds) {
    seeds.Write("event_line", "registered",
                EventLineInput{0, 3, 1, 1781524800, "SIM0000000003001"}.Write());
    seeds.Write("event_line", "hostile",
                EventLineInput{2, 19, 20, 1781524800, "\x1b]0;x\x07 \n\r\x7f\xff/.."}.Write());
    seeds.Write("event_line", "no-serial", EventLineInput{4, 1, 0, 0, ""}.Write());
}

void WriteControlSeeds(const SeedWriter& seeds) {
    seeds.Write("control_commands", "inspect",
                std::string("help\nlist\nbuses\nshow COM3:2\nshow SIM0000000004001\n"));
    seeds.Write("control_commands", "faults",
                std::string("set COM3:1 fault 2 0x20 39=700\nset COM4:1 episode 60 10 3 0x10000"
                            " 3A=4200 78=2650\nset COM3:2 badsum on\r\nclear COM3:1\nclear all\n"));
    seeds.Write("control_commands", "plant",
                std::string("param COM3:1 40 1600\nserial COM3:2 NEWSERIAL\nunregister COM4:1\n"
                            "add COM4 three/5000 SIM9\nadd COM3 single\nvanish COM3\n"
                            "restore COM3\n"));
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-DIRECTORY\n", argv[0]);
        return 2;
    }
    const SeedWriter seeds{std::filesystem::path(argv[1])};
    WriteReplySeeds(seeds);
    WriteFaultFileSeeds(seeds);
    WriteSettingsSeeds(seeds);
    WriteNameSeeds(seeds);
    WriteEventLineSeeds(seeds);
    WriteControlSeeds(seeds);
    return 0;
}
