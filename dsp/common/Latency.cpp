#include "Latency.h"

#include <utility>

Latency::Latency() {
    allocate(lSize);
    pos = 0;
}

int32_t Latency::getSize() {
    return lNewSize;
}

void Latency::setSize(int32_t n) {
    lNewSize = n >= 2 ? n : 1;
}

bool Latency::wrapIfDue(float previous) {
    if (pos < lSize && pos < size) {
        return true;
    }
    pos = 0;
    onBufferReady();
    if (lSize != lNewSize) {
        allocate(lNewSize);
        lSize = lNewSize;
        if (data == nullptr) {
            return false;
        }
        data[0] = previous;
    }
    return true;
}

void Latency::processBuffer(float* buffer, int32_t n) {
    if (buffer == nullptr || data == nullptr || lSize == 0) {
        return;
    }
    for (int32_t i = 0; i < n; ++i) {
        if (!wrapIfDue(i > 0 ? buffer[i - 1] : 0.0f)) {
            return;
        }
        data[pos++] = buffer[i];
    }
}

void Latency::processBufferEx(float* buffer, int32_t n) {
    if (buffer == nullptr || data == nullptr) {
        return;
    }
    float previous = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        if (!wrapIfDue(previous)) {
            return;
        }
        previous = buffer[i];
        std::swap(data[pos++], buffer[i]);
    }
}
