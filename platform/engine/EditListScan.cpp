#include "EditListScan.h"

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/macros.h>
#include <libavutil/mem.h>
}

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <utility>

namespace {

// The demuxer refuses boxes nested deeper.
constexpr int kMaximumDepth = 10;
// An edit list's header before its edits: version, flags and their count.
constexpr std::int64_t kEditListHeader = 8;
// Copying this many bytes into the input's buffer takes less time than
// reading a box header already there.
constexpr std::int64_t kBytesReadPerWork = 64;
// Inflating this many takes about as long; what the compressed movie headers
// of a file inflate to is so bounded at 64 MiB, together.
constexpr std::int64_t kBytesInflatedPerWork = 16;
// What precedes a compressed movie header's stream: the sizes and names of
// its "dcom" and "cmvd" boxes, its compression's name and the size it
// inflates to.
constexpr std::int64_t kCompressedHeaderFields = 24;

// A box's type as the demuxer reads it, and as four bytes shifted in one by
// one read it.
constexpr std::uint32_t tag(const char (&name)[5]) { return MKTAG(name[0], name[1], name[2], name[3]); }
constexpr std::uint32_t shiftedIn(const char (&name)[5]) { return MKBETAG(name[0], name[1], name[2], name[3]); }

// Boxes whose contents the demuxer reads as boxes from their start. Free
// space may hold a movie header the demuxer takes for one.
bool holdsBoxes(std::uint32_t type)
{
    static constexpr std::uint32_t kContainers[] = {
        tag("moov"), tag("trak"), tag("edts"), tag("mdia"), tag("minf"), tag("stbl"), tag("dinf"), tag("udta"),
        tag("mvex"), tag("moof"), tag("traf"), tag("tref"), tag("sinf"), tag("schi"), tag("ilst"), tag("free"),
        tag("hoov"),
    };
    return std::find(std::begin(kContainers), std::end(kContainers), type) != std::end(kContainers);
}

void freeContext(AVIOContext* context) { avio_context_free(&context); }

using Memory = std::unique_ptr<Bytef, decltype(&av_free)>;
using Reader = std::unique_ptr<AVIOContext, decltype(&freeContext)>;

// Reads a zlib stream of `compressed` bytes and inflates it into `length`
// bytes at `header`, as the demuxer does; `length` becomes what it inflated
// to. The stream is let go before the header is read.
bool inflateStream(AVIOContext& input, std::int64_t compressed, Bytef* header, uLongf& length)
{
    const Memory stream(static_cast<Bytef*>(av_malloc(static_cast<std::size_t>(compressed))), av_free);
    return stream != nullptr && avio_read(&input, stream.get(), static_cast<int>(compressed)) == compressed
        && uncompress(header, &length, stream.get(), static_cast<uLong>(compressed)) == Z_OK;
}

} // namespace

EditListScan::Finding EditListScan::find(AVIOContext& input)
{
    EditListScan scan(input);
    scan.walk(0, avio_size(&input), { 0, false });
    avio_seek(&input, 0, SEEK_SET);
    return scan.found_;
}

EditListScan::EditListScan(AVIOContext& input)
    : input_(&input)
    , reading_ { input.bytes_read, 0 }
{
}

void EditListScan::walk(std::int64_t start, std::int64_t end, Place place)
{
    if (place.depth > kMaximumDepth)
        return;
    Box box;
    for (std::int64_t position = start; readBox(position, end, box);)
        visit(box, place);
}

// As the demuxer reads a box's header: a size of 1 is followed by one of 64
// bits, a size of 0 reaches the end of the parent, and no box reaches past
// that end. A header also costs what the input read since the last, where it
// read the file there again: boxes read twice at each level, far apart or each
// having the buffer filled anew, would otherwise have the file read thousands
// of times over within the bound. Reading on past the furthest the scan has
// reached costs nothing, as the demuxer reads the file once too, in however
// small pieces it is cut.
bool EditListScan::readBox(std::int64_t& position, std::int64_t end, Box& box)
{
    if (position > end - 8 || avio_seek(input_, position, SEEK_SET) < 0)
        return false;
    std::int64_t size = avio_rb32(input_);
    box.type = avio_rl32(input_);
    if (!spend(1 + readAgain() / kBytesReadPerWork) || avio_feof(input_))
        return false;
    position += 8;
    if (size == 1 && position + 8 <= end) {
        size = static_cast<std::int64_t>(avio_rb64(input_) - 8);
        position += 8;
    }
    if (size == 0)
        size = end - position + 8;
    size -= 8;
    if (size < 0)
        return false;
    box.start = position;
    box.end = position + std::min(size, end - position);
    position = box.end;
    return true;
}

// The demuxer indexes a track's packets once it has read the track's boxes:
// an edit list read later changes no index.
void EditListScan::visit(const Box& box, Place place)
{
    const Place inside { place.depth + 1, place.inTrack || box.type == tag("trak") };
    if (box.type == tag("elst") && place.inTrack)
        countEdits(box);
    else if (box.type == tag("cmov"))
        walkCompressed(box, inside);
    else if (box.type == tag("meta"))
        walkMeta(box, inside);
    else if (box.type == tag("stsd") && place.inTrack)
        search(box, inside);
    else if (box.type == tag("wave")) {
        // Some codecs' settings come first.
        walk(box.start, box.end, inside);
        walk(box.start + 8, box.end, inside);
    } else if (holdsBoxes(box.type))
        walk(box.start, box.end, inside);
}

// The demuxer reads a meta box's children from its handler box on, wherever
// that starts. Only the bytes searched up to it count: the handler comes
// first, and the pictures that follow it can be larger than the bound.
void EditListScan::walkMeta(const Box& box, Place inside)
{
    avio_seek(input_, box.start, SEEK_SET);
    std::int64_t position = box.start;
    bool found = false;
    for (; !found && box.end - position > 8 && !avio_feof(input_); position += 4)
        found = avio_rl32(input_) == tag("hdlr");
    if (spend(position - box.start) && found)
        walk(position - 8, box.end, inside);
}

// Each sample description is followed by boxes where its codec's fields end:
// every box in it named as an edit list or a compressed movie header counts,
// and what such a header inflates to is read as boxes within the description.
void EditListScan::search(const Box& box, Place inside)
{
    std::uint32_t window = 0;
    if (!spend(box.end - box.start))
        return;
    avio_seek(input_, box.start, SEEK_SET);
    for (std::int64_t position = box.start; position < box.end; ++position) {
        window = window << 8 | static_cast<std::uint32_t>(avio_r8(input_));
        if (avio_feof(input_))
            return;
        const std::int64_t header = position - 7;
        if (header < box.start || (window != shiftedIn("elst") && window != shiftedIn("cmov")))
            continue;
        Box found;
        std::int64_t next = header;
        if (readBox(next, box.end, found))
            visit(found, inside);
        avio_seek(input_, position + 1, SEEK_SET);
    }
}

// The demuxer inflates a movie header compressed as older movie files were
// saved, from fields at fixed places, whatever sizes the boxes among them
// state.
void EditListScan::walkCompressed(const Box& box, Place inside)
{
    avio_seek(input_, box.start, SEEK_SET);
    const std::uint32_t fields[] = { avio_rl32(input_), avio_rl32(input_), avio_rl32(input_), avio_rl32(input_),
                                     avio_rl32(input_) };
    const std::int64_t size = avio_rb32(input_);
    const std::int64_t compressed = box.end - box.start - kCompressedHeaderFields;
    if (fields[1] != tag("dcom") || fields[2] != tag("zlib") || fields[4] != tag("cmvd") || avio_feof(input_)
        || compressed <= 0 || std::max(size, compressed) > kMaximumMovieHeader)
        found_.unreadableHeader = true;
    else if (spend(compressed / kBytesReadPerWork + size / kBytesInflatedPerWork))
        walkInflated(compressed, size, inside);
}

// The demuxer reads what the stream inflates to as boxes, by the same rules.
void EditListScan::walkInflated(std::int64_t compressed, std::int64_t size, Place inside)
{
    const Memory header(static_cast<Bytef*>(av_malloc(static_cast<std::size_t>(size))), av_free);
    auto length = static_cast<uLongf>(size);
    const bool inflated = header != nullptr && inflateStream(*input_, compressed, header.get(), length);
    const Reader memory(inflated ? avio_alloc_context(header.get(), static_cast<int>(length), 0, nullptr, nullptr,
                                                      nullptr, nullptr)
                                 : nullptr,
                        freeContext);
    found_.unreadableHeader = found_.unreadableHeader || memory == nullptr;
    if (memory == nullptr)
        return;
    AVIOContext* const file = std::exchange(input_, memory.get());
    const Reading reading = std::exchange(reading_, {});
    walk(0, static_cast<std::int64_t>(length), inside);
    input_ = file;
    reading_ = reading;
}

// What the input read since a box's header was last read, short of the
// furthest it had then reached: only past it is the file read for the first
// time, and one reading runs on without a gap.
std::int64_t EditListScan::readAgain()
{
    const std::int64_t read = input_->bytes_read - reading_.counted;
    const std::int64_t first = std::max<std::int64_t>(0, input_->pos - reading_.reached);
    reading_ = { input_->bytes_read, std::max(reading_.reached, input_->pos) };
    return std::max<std::int64_t>(0, read - first);
}

// The demuxer reads as many edits as the box holds, whatever count it states.
void EditListScan::countEdits(const Box& box)
{
    avio_seek(input_, box.start, SEEK_SET);
    const std::int64_t editSize = avio_r8(input_) == 1 ? 20 : 12;
    found_.longestEditList = std::max(found_.longestEditList, (box.end - box.start - kEditListHeader) / editSize);
}

// Boxes the demuxer reads twice may hold more of them: ten levels would read
// what the innermost holds a thousand times over.
bool EditListScan::spend(std::int64_t work)
{
    work_ += work;
    found_.tooManyBoxes = found_.tooManyBoxes || work_ > kMaximumWork;
    return !found_.tooManyBoxes;
}
