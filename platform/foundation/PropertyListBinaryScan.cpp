#include "PropertyListBinaryScan.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;
// Marks an object whose container is being walked.
constexpr std::uint16_t kOpen = 0xFFFF;
// The high four bits of a UTF-16 text's marker.
constexpr int kUTF16Text = 0x6;

std::uint64_t bigEndian(const Data& data, std::size_t at, std::size_t bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        value = value << 8 | data[at + i];
    }
    return value;
}

// The references an object holds: a container's, or none.
struct References {
    bool container = false;
    std::size_t at = 0;
    std::uint64_t count = 0;
};

// The trailer's layout of the object table, checked against the data.
class ObjectTable {
public:
    explicit ObjectTable(const Data& data) : data_(data) {}

    bool read()
    {
        if (data_.size() < kHeaderSize + kTrailerSize) {
            return false;
        }
        const std::size_t trailer = data_.size() - kTrailerSize;
        offsetSize_ = data_[trailer + 6];
        referenceSize_ = data_[trailer + 7];
        count_ = bigEndian(data_, trailer + 8, 8);
        top_ = bigEndian(data_, trailer + 16, 8);
        const std::uint64_t table = bigEndian(data_, trailer + 24, 8);
        const bool sizes = offsetSize_ >= 1 && offsetSize_ <= 8 && referenceSize_ >= 1 && referenceSize_ <= 8;
        if (!sizes || top_ >= count_ || table < kHeaderSize || table > trailer
            || count_ > (trailer - table) / offsetSize_) {
            return false;
        }
        table_ = static_cast<std::size_t>(table);
        return true;
    }

    std::uint64_t count() const { return count_; }
    std::uint64_t top() const { return top_; }

    // The object's references; none when it lies outside the data, or is a
    // text the reader cannot hand over.
    std::optional<References> references(std::uint64_t object) const
    {
        const std::uint64_t at = bigEndian(data_, table_ + static_cast<std::size_t>(object) * offsetSize_, offsetSize_);
        if (at < kHeaderSize || at >= end()) {
            return std::nullopt;
        }
        const std::uint8_t marker = data_[static_cast<std::size_t>(at)];
        const int kind = marker >> 4;
        if (kind == kUTF16Text) {
            return readableText(static_cast<std::size_t>(at), marker & 0xF) ? std::optional(References {})
                                                                           : std::nullopt;
        }
        // Arrays, ordered sets and sets hold count references; a dictionary
        // holds count keys and count values.
        if (kind != 0xA && kind != 0xB && kind != 0xC && kind != 0xD) {
            return References {};
        }
        auto counted = count(static_cast<std::size_t>(at), marker & 0xF);
        if (!counted) {
            return std::nullopt;
        }
        auto [first, count] = *counted;
        const std::uint64_t perEntry = kind == 0xD ? 2 * referenceSize_ : referenceSize_;
        if (count > (end() - first) / perEntry) {
            return std::nullopt;
        }
        return References { true, first, count * (kind == 0xD ? 2 : 1) };
    }

    std::uint64_t reference(const References& references, std::uint64_t index) const
    {
        return bigEndian(data_, references.at + static_cast<std::size_t>(index) * referenceSize_, referenceSize_);
    }

private:
    std::size_t end() const { return data_.size() - kTrailerSize; }

    // The reader counts a UTF-16 text's length in code units but hands it
    // over as a C string, and aborts the process when the two differ: a text
    // (or key) holding U+0000 is refused, as is one running past the data.
    bool readableText(std::size_t at, int low) const
    {
        const auto counted = count(at, low);
        if (!counted || counted->second > (end() - counted->first) / 2) {
            return false;
        }
        const auto [first, units] = *counted;
        for (std::size_t unit = 0; unit < units; ++unit) {
            if (data_[first + 2 * unit] == 0 && data_[first + 2 * unit + 1] == 0) {
                return false;
            }
        }
        return true;
    }

    // Where a container's references (or a text's characters) start and how
    // many there are: the marker's low four bits, or when they are all set,
    // the integer object that follows the marker.
    std::optional<std::pair<std::size_t, std::uint64_t>> count(std::size_t at, int low) const
    {
        if (low != 0xF) {
            return std::pair { at + 1, static_cast<std::uint64_t>(low) };
        }
        if (at + 2 > end() || (data_[at + 1] & 0xF0) != 0x10 || (data_[at + 1] & 0x0F) > 3) {
            return std::nullopt;
        }
        const std::size_t bytes = std::size_t { 1 } << (data_[at + 1] & 0x0F);
        if (at + 2 + bytes > end()) {
            return std::nullopt;
        }
        return std::pair { at + 2 + bytes, bigEndian(data_, at + 2, bytes) };
    }

    const Data& data_;
    std::size_t offsetSize_ = 0;
    std::size_t referenceSize_ = 0;
    std::uint64_t count_ = 0;
    std::uint64_t top_ = 0;
    std::size_t table_ = 0;
};

// Walks the objects below the top one depth first, keeping each object's
// figures once it has been walked, so that a shared object is walked once.
class Walk {
public:
    Walk(const ObjectTable& table, std::size_t depthLimit, std::uint32_t valueLimit)
        : table_(table)
        , depthLimit_(depthLimit)
        , valueLimit_(valueLimit)
        , values_(static_cast<std::size_t>(table.count()), 0)
        , heights_(static_cast<std::size_t>(table.count()), 0)
    {
    }

    std::optional<PropertyListBinaryScan::Shape> run()
    {
        Frame top { table_.top() };
        if (!enter(top)) {
            return std::nullopt;
        }
        while (!stack_.empty() && !overLimit_) {
            if (!step()) {
                return std::nullopt;
            }
        }
        return PropertyListBinaryScan::Shape { deepest_, result_ };
    }

private:
    struct Frame {
        std::uint64_t object;
        References references {};
        std::uint64_t next = 0;
        std::uint64_t values = 1;
        std::size_t height = 0;
    };

    // Starts walking the object, or counts it at once when it has been walked
    // before or is no container; false for a loop or an object outside the data.
    bool enter(Frame frame)
    {
        const auto object = static_cast<std::size_t>(frame.object);
        if (heights_[object] == kOpen) {
            return false;
        }
        if (values_[object] == 0) {
            const auto references = table_.references(frame.object);
            if (!references) {
                return false;
            }
            if (references->container) {
                frame.references = *references;
                heights_[object] = kOpen;
                stack_.push_back(frame);
                note(stack_.size(), 0);
                return true;
            }
            values_[object] = 1;
        }
        finish(values_[object], heights_[object]);
        return true;
    }

    bool step()
    {
        Frame& frame = stack_.back();
        if (frame.next < frame.references.count) {
            const std::uint64_t child = table_.reference(frame.references, frame.next++);
            return child < table_.count() && enter(Frame { child });
        }
        const Frame done = frame;
        stack_.pop_back();
        const auto object = static_cast<std::size_t>(done.object);
        values_[object] = static_cast<std::uint32_t>(done.values);
        heights_[object] = static_cast<std::uint16_t>(done.height + 1);
        finish(done.values, done.height + 1);
        return true;
    }

    // Adds a walked object's figures to the container holding it.
    void finish(std::uint64_t values, std::size_t height)
    {
        note(stack_.size() + height, 0);
        if (stack_.empty()) {
            result_ = values;
            return;
        }
        Frame& parent = stack_.back();
        parent.values += values;
        parent.height = std::max(parent.height, height);
        note(0, parent.values);
    }

    void note(std::size_t depth, std::uint64_t values)
    {
        deepest_ = std::max(deepest_, depth);
        if (deepest_ > depthLimit_) {
            deepest_ = depthLimit_ + 1;
            overLimit_ = true;
        }
        if (values > valueLimit_) {
            result_ = std::uint64_t { valueLimit_ } + 1;
            overLimit_ = true;
        }
    }

    const ObjectTable& table_;
    std::size_t depthLimit_;
    std::uint32_t valueLimit_;
    std::vector<std::uint32_t> values_;
    std::vector<std::uint16_t> heights_;
    std::vector<Frame> stack_;
    std::size_t deepest_ = 0;
    std::uint64_t result_ = 0;
    bool overLimit_ = false;
};

} // namespace

std::optional<PropertyListBinaryScan::Shape> PropertyListBinaryScan::shape(const Data& data, std::size_t depthLimit,
                                                                           std::uint32_t valueLimit)
{
    ObjectTable table(data);
    if (!table.read()) {
        return std::nullopt;
    }
    return Walk(table, depthLimit, valueLimit).run();
}
