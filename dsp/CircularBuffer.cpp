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

void CircularBuffer::processBuffer(float* buffer, int32_t n) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    for (int32_t i = 0; i < n; ++i) {
        if (pos >= size) {
            pos = 0;
            onBufferReady();
        }
        data[pos++] = buffer[i];
    }
}

void CircularBuffer::processBufferEx(float* buffer, int32_t n) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    for (int32_t i = 0; i < n; ++i) {
        if (pos >= size) {
            pos = 0;
            onBufferReady();
        }
        std::swap(data[pos++], buffer[i]);
    }
}

void CircularBuffer::onBufferReady() {}
