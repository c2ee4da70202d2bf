#pragma once

#include "CircularBuffer.h"

// A delay line of adjustable length. A new length takes effect when the
// current pass through the line ends, so the signal never jumps mid-pass.
class Latency : public CircularBuffer {
public:
    Latency();

    // The requested length (it may not be in effect yet).
    int32_t getSize() override;
    void processBuffer(float* buffer, int32_t n) override;
    // Returns the caller's signal delayed by the length in effect.
    void processBufferEx(float* buffer, int32_t n) override;
    // Requests length n (at least 1); it takes effect at the next wrap.
    virtual void setSize(int32_t n);

protected:
    int32_t lSize = 1024;
    int32_t lNewSize = 1024;

private:
    // Wraps the write position when the pass has ended, applying a pending
    // length; the first cell of a resized line is primed with `previous`, the
    // input sample before the current one (0 at the start of a call, as the
    // caller's buffer holds nothing earlier). False when the line lost its memory.
    bool wrapIfDue(float previous);
};
