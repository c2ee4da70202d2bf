#pragma once

#include "DynaBuffer.h"

// A DynaBuffer with a write position that wraps around the array.
class CircularBuffer : public DynaBuffer {
public:
    CircularBuffer();

    virtual void reset();
    // Moves the write position so that the next wrap comes after d samples.
    virtual void setInitialDelay(int32_t d);
    // Records n samples; the caller's samples stay as they are.
    virtual void processBuffer(float* buffer, int32_t n);
    // Exchanges n samples with the cells: the caller gets the signal back
    // delayed by the buffer's size.
    virtual void processBufferEx(float* buffer, int32_t n);
    // Called each time the write position wraps.
    virtual void onBufferReady();

protected:
    int32_t pos = 0;

private:
    // Visits (cell, sample) pairs, wrapping the write position as it goes.
    template <class Visit>
    void forEachSample(float* buffer, int32_t n, Visit visit);
};
