#pragma once

#include <cstdint>

// A heap array of floats, 16-byte aligned for vector processing, zeroed
// whenever it is (re)allocated. It grows on request and releases its memory on
// destruction. A failed allocation leaves it empty (size 0, data null).
class DynaBuffer {
public:
    explicit DynaBuffer(int32_t n = 0);
    virtual ~DynaBuffer();

    DynaBuffer(const DynaBuffer&) = delete;
    DynaBuffer& operator=(const DynaBuffer&) = delete;

    virtual float* getBuffer();
    virtual int32_t getSize();
    virtual float* ensure(int32_t n);
    // Grows to n floats; a smaller non-zero request keeps memory and contents.
    virtual float* allocate(int32_t n);
    // Grows or shrinks to exactly n floats (zeroed); n <= 0 empties.
    virtual float* readjust(int32_t n);
    virtual void clear();
    virtual void free();

    // Address of element i; no bounds check.
    float* operator[](int32_t i) { return data + i; }

protected:
    int32_t size = 0;
    float* data = nullptr;

private:
    void obtain(int32_t n);
};
