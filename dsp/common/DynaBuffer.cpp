#include "DynaBuffer.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kAlignment = 16;

} // namespace

DynaBuffer::DynaBuffer(int32_t n) {
    if (n != 0) {
        allocate(n);
    }
}

DynaBuffer::~DynaBuffer() {
    std::free(data);
}

float* DynaBuffer::getBuffer() {
    return data;
}

int32_t DynaBuffer::getSize() {
    return size;
}

float* DynaBuffer::ensure(int32_t n) {
    return allocate(n);
}

float* DynaBuffer::allocate(int32_t n) {
    if (n == size) {
        return data;
    }
    if (n < 1) {
        free();
    } else if (n > size) {
        free();
        obtain(n);
    }
    return data;
}

float* DynaBuffer::readjust(int32_t n) {
    if (n == size) {
        return data;
    }
    free();
    if (n > 0) {
        obtain(n);
    }
    return data;
}

void DynaBuffer::clear() {
    if (data != nullptr) {
        std::memset(data, 0, sizeof(float) * static_cast<std::size_t>(size));
    }
}

void DynaBuffer::free() {
    if (size != 0) {
        std::free(data);
        data = nullptr;
        size = 0;
    }
}

void DynaBuffer::obtain(int32_t n) {
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t bytes = sizeof(float) * static_cast<std::size_t>(n);
    const std::size_t rounded = (bytes + kAlignment - 1) / kAlignment * kAlignment;
    data = static_cast<float*>(std::aligned_alloc(kAlignment, rounded));
    if (data != nullptr) {
        size = n;
        clear();
    }
}
