#pragma once

class CInverter;

// Receives every inverter whose reply has just been decoded into its runtime
// data, on the communication thread, before the views hear of it.
class PollSink {
public:
    virtual ~PollSink() = default;
    virtual void OnSampleDecoded(CInverter& inverter) = 0;
};
