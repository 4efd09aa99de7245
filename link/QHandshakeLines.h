// The GPIO handshake lines between the processor and the co-processor: reset (GPIO 23), the
// request and release strobes (24, 25), a spare output (26) and the co-processor's ready line
// (27). Holds no state of its own; every operation is register accesses.
#pragma once

class QHandshakeLines {
public:
    // Routes GPIO 23-27 as GPIO, 23-26 outputs and 27 an input, and drives the strobes low.
    QHandshakeLines();

    void HoldReset();
    void ReleaseReset();
    // One short high pulse on the request (release) strobe.
    void PulseRequest();
    void PulseRelease();
    bool IsReady() const;
    // Polls the ready line up to count times, 1 ms apart, until it reads high (low); false
    // after count polls, or at once without reading the line when count is 0 or less.
    bool WaitReady(int count) const;
    bool WaitReleased(int count) const;
};
