#pragma once

#include "MIDIMetaEvent.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Owns a zeroed heap buffer laid out as a MIDIMetaEvent followed by its data,
// for calls that take a pointer to such a record. Not copyable: the buffer
// has exactly one owner; share the object through a shared_ptr.
class MyMetaEvent {
public:
    // Throws std::length_error when `data` does not fit the record's 32-bit
    // length field.
    MyMetaEvent(std::uint8_t type, const std::vector<std::uint8_t>& data);
    MyMetaEvent(const MyMetaEvent&) = delete;
    MyMetaEvent& operator=(const MyMetaEvent&) = delete;

    // 12 plus the number of data bytes.
    std::int64_t size() const { return size_; }
    const std::uint8_t* mem() const { return mem_.get(); }

    // Calls `body` once with the record; the pointer is valid only during the
    // call.
    void withMIDIMetaEventPtr(const std::function<void(const MIDIMetaEvent*)>& body) const;

private:
    struct FreeBuffer {
        void operator()(std::uint8_t* buffer) const;
    };

    std::int64_t size_;
    std::unique_ptr<std::uint8_t, FreeBuffer> mem_;
};

// Builds the meta event of type 0x7F with three zero data bytes, hands it to
// an empty body and releases it.
void test_MyMetaEvent();
