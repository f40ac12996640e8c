// A runtime-data reply through the reply check, both decoders with the fuzzed
// field list, and the history line each record makes.

#include "Conversation.h"
#include "FuzzInputs.h"
#include "HistoryLineShape.h"
#include "comm/BusMessage.h"
#include "comm/Frame.h"
#include "comm/RuntimeDecode.h"
#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

#include <algorithm>
#include <memory>

namespace {
using Decoder = void (*)(CInverter&, const std::uint8_t*, std::size_t, std::time_t);

template <class Record>
void DecodeIntoLine(const Bytes& fields, const BusMessage& reply, Decoder decode) {
    CInverter inverter;
    inverter.m_runtimeFormat = fields;
    inverter.m_pRuntimeData = std::make_unique<Record>();
    decode(inverter, reply.Data(), reply.Length(), SAMPLE_TIME);
    RequireWholeHistoryLine(*inverter.m_pRuntimeData);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RuntimeReplyInput input = RuntimeReplyInput::Read(data, size);
    // Exactly the bytes received, so that any read past them is reported.
    const std::size_t count = input.frame.size();
    const auto frame = std::make_unique<std::uint8_t[]>(count);
    std::copy(input.frame.begin(), input.frame.end(), frame.get());
    if (!CheckReplyFrame(frame.get(), count, FN_READ_RUNTIME_DATA, false)) {
        return 0;
    }
    BusMessage reply;
    CopyReplyMessage(frame.get(), reply);
    DecodeIntoLine<SingleRuntimeData>(input.fields, reply, DecodeSingle);
    DecodeIntoLine<ThreeRuntimeData>(input.fields, reply, DecodeThree);
    return 0;
}
