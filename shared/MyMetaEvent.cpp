#include "MyMetaEvent.h"

#include <cstddef>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

namespace {

std::int64_t checkedSize(const std::vector<std::uint8_t>& data)
{
    if (data.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("MyMetaEvent: " + std::to_string(data.size()) +
                                " data bytes do not fit the 32-bit length of a meta event");
    }
    return static_cast<std::int64_t>(sizeof(MIDIMetaEvent) + data.size());
}

} // namespace

void MyMetaEvent::FreeBuffer::operator()(std::uint8_t* buffer) const
{
    ::operator delete(buffer, std::align_val_t{alignof(MIDIMetaEvent)});
}

MyMetaEvent::MyMetaEvent(std::uint8_t type, const std::vector<std::uint8_t>& data)
    : size_(checkedSize(data)),
      mem_(static_cast<std::uint8_t*>(::operator new(static_cast<std::size_t>(size_),
                                                      std::align_val_t{alignof(MIDIMetaEvent)})))
{
    std::memset(mem_.get(), 0, static_cast<std::size_t>(size_));
    // Each field goes to its offset in the record, so the layout does not
    // depend on reading the buffer through the struct type.
    const auto length = static_cast<std::uint32_t>(data.size());
    mem_.get()[offsetof(MIDIMetaEvent, metaEventType)] = type;
    std::memcpy(mem_.get() + offsetof(MIDIMetaEvent, dataLength), &length, sizeof length);
    if (!data.empty()) {
        std::memcpy(mem_.get() + offsetof(MIDIMetaEvent, data), data.data(), data.size());
    }
}

void MyMetaEvent::withMIDIMetaEventPtr(
    const std::function<void(const MIDIMetaEvent*)>& body) const
{
    body(reinterpret_cast<const MIDIMetaEvent*>(mem_.get()));
}

void test_MyMetaEvent()
{
    const auto event = std::make_shared<MyMetaEvent>(127, std::vector<std::uint8_t>{0, 0, 0});
    event->withMIDIMetaEventPtr([](const MIDIMetaEvent*) {});
}
