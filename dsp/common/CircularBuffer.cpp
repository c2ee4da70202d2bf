#include "CircularBuffer.h"

#include <utility>

CircularBuffer::CircularBuffer() : pos(size) {}

void CircularBuffer::reset() {
    clear();
    pos = size;
}

void CircularBuffer::setInitialDelay(int32_t d) {
    if (d >= 0 && d <= size) {
        pos = size - d;
    }
}

template <class Visit>
void CircularBuffer::forEachSample(float* buffer, int32_t n, Visit visit) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    for (int32_t i = 0; i < n; ++i) {
        if (pos >= size) {
            pos = 0;
            onBufferReady();
        }
        visit(data[pos++], buffer[i]);
    }
}

void CircularBuffer::processBuffer(float* buffer, int32_t n) {
    forEachSample(buffer, n, [](float& cell, float& sample) { cell = sample; });
}

void CircularBuffer::processBufferEx(float* buffer, int32_t n) {
    forEachSample(buffer, n, [](float& cell, float& sample) { std::swap(cell, sample); });
}

void CircularBuffer::onBufferReady() {}
