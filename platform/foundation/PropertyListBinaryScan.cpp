#include "PropertyListBinaryScan.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;
// Marks an object whose container is being walked.
constexpr std::uint16_t kOpen = 0xFFFF;
// The high four bits of the markers of data, ASCII text and UTF-16 text.
constexpr int kData = 0x4;
constexpr int kASCIIText = 0x5;
constexpr int kUTF16Text = 0x6;

std::uint64_t bigEndian(const Data& data, std::size_t at, std::size_t bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        value = value << 8 | data[at + i];
    }
    return value;
}

// What an object holds: a container's references, or a leaf's bytes of
// text or data once read.
struct Contents {
    bool container = false;
    std::size_t at = 0;
    std::uint64_t count = 0;
    std::uint64_t bytes = 0;
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

    // What the object holds; none when it lies outside the data, or is a
    // text the reader cannot hand over.
    std::optional<Contents> contents(std::uint64_t object) const
    {
        const std::uint64_t at = bigEndian(data_, table_ + static_cast<std::size_t>(object) * offsetSize_, offsetSize_);
        if (at < kHeaderSize || at >= end()) {
            return std::nullopt;
        }
        const std::uint8_t marker = data_[static_cast<std::size_t>(at)];
        const int kind = marker >> 4;
        if (kind == kUTF16Text) {
            return readableText(static_cast<std::size_t>(at), marker & 0xF);
        }
        if (kind == kData || kind == kASCIIText) {
            return leaf(static_cast<std::size_t>(at), marker & 0xF);
        }
        // Arrays, ordered sets and sets hold count references; a dictionary
        // holds count keys and count values.
        if (kind != 0xA && kind != 0xB && kind != 0xC && kind != 0xD) {
            return Contents {};
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
        return Contents { true, first, count * (kind == 0xD ? 2 : 1) };
    }

    std::uint64_t reference(const Contents& references, std::uint64_t index) const
    {
        return bigEndian(data_, references.at + static_cast<std::size_t>(index) * referenceSize_, referenceSize_);
    }

private:
    std::size_t end() const { return data_.size() - kTrailerSize; }

    // Data or an ASCII text, whose bytes are read as they are.
    std::optional<Contents> leaf(std::size_t at, int low) const
    {
        const auto counted = count(at, low);
        if (!counted || counted->second > end() - counted->first) {
            return std::nullopt;
        }
        return Contents { .bytes = counted->second };
    }

    // The reader counts a UTF-16 text's length in code units but hands it
    // over as a C string, and aborts the process when the two differ: a text
    // (or key) holding U+0000 is refused, as is one running past the data.
    // Its bytes are those of UTF-8, at most three for each unit.
    std::optional<Contents> readableText(std::size_t at, int low) const
    {
        const auto counted = count(at, low);
        if (!counted || counted->second > (end() - counted->first) / 2) {
            return std::nullopt;
        }
        const auto [first, units] = *counted;
        std::uint64_t bytes = 0;
        for (std::size_t unit = 0; unit < units; ++unit) {
            const auto value = static_cast<unsigned>(bigEndian(data_, first + 2 * unit, 2));
            if (value == 0) {
                return std::nullopt;
            }
            bytes += value < 0x80 ? 1 : value < 0x800 ? 2 : 3;
        }
        return Contents { .bytes = bytes };
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
// Only the objects reached are kept, which the limits bound however many
// the table holds: each adds to the whole list's figures where it is reached,
// not to its container's once walked, as the containers still open could
// otherwise hold many times the limit between them.
class Walk {
public:
    Walk(const ObjectTable& table, const PropertyListShape& limits) : table_(table), limits_(limits) {}

    std::optional<PropertyListShape> run()
    {
        Frame top { table_.top() };
        if (!enter(top)) {
            return std::nullopt;
        }
        while (!stack_.empty() && found_.within(limits_)) {
            if (!step()) {
                return std::nullopt;
            }
        }
        return found_;
    }

private:
    struct Frame {
        std::uint64_t object;
        Contents references {};
        std::uint64_t next = 0;
        std::uint64_t values = 1;
        std::uint64_t bytes = 0;
        std::size_t height = 0;
    };

    // An object's figures once walked; its height is kOpen while it is.
    struct Walked {
        std::uint64_t values;
        std::uint64_t bytes;
        std::uint16_t height;
    };

    // Starts walking the object, or counts it at once when it has been walked
    // before or is no container; false for a loop or an object outside the data.
    bool enter(Frame frame)
    {
        auto [walked, first] = walked_.try_emplace(frame.object, Walked { 0, 0, kOpen });
        if (!first) {
            if (walked->second.height == kOpen) {
                return false;
            }
            found_.add(walked->second.values, walked->second.bytes, limits_);
            finish(walked->second.values, walked->second.bytes, walked->second.height);
            return true;
        }
        const auto contents = table_.contents(frame.object);
        if (!contents) {
            return false;
        }
        if (contents->container) {
            frame.references = *contents;
            stack_.push_back(frame);
            found_.add(1, 0, limits_);
            found_.reach(stack_.size(), limits_);
            return true;
        }
        walked->second = Walked { 1, contents->bytes, 0 };
        found_.add(1, contents->bytes, limits_);
        finish(1, contents->bytes, 0);
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
        walked_[done.object] = Walked { done.values, done.bytes, static_cast<std::uint16_t>(done.height + 1) };
        finish(done.values, done.bytes, done.height + 1);
        return true;
    }

    // Adds a walked object's figures to the container holding it.
    void finish(std::uint64_t values, std::uint64_t bytes, std::size_t height)
    {
        found_.reach(stack_.size() + height, limits_);
        if (stack_.empty()) {
            return;
        }
        Frame& parent = stack_.back();
        parent.values += values;
        parent.bytes += bytes;
        parent.height = std::max(parent.height, height);
    }

    const ObjectTable& table_;
    PropertyListShape limits_;
    std::unordered_map<std::uint64_t, Walked> walked_;
    std::vector<Frame> stack_;
    PropertyListShape found_;
};

} // namespace

std::optional<PropertyListShape> PropertyListBinaryScan::shape(const Data& data, const PropertyListShape& limits)
{
    ObjectTable table(data);
    if (!table.read()) {
        return std::nullopt;
    }
    return Walk(table, limits).run();
}
