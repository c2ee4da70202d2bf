#pragma once

#include <cstdint>
#include <optional>

struct AVIOContext;

// Reads the boxes of an MP4 file the way FFmpeg's demuxer will, before it
// does: the demuxer copies into its index every packet an edit covers, once
// for each edit, so that an edit list repeated a hundred thousand times takes
// gigabytes while the file is opened. A file of another format holds no such
// boxes. The input is left at its start.
class EditListScan {
public:
    // The most edits one edit list of the file holds, as the demuxer counts
    // them; none when a movie header is compressed, which would hide them.
    static std::optional<std::int64_t> longestEditList(AVIOContext& input);

private:
    // Where a box's contents lie in the file.
    struct Box {
        std::uint32_t type = 0;
        std::int64_t start = 0;
        std::int64_t end = 0;
    };

    // How deep a box lies, and whether within a track.
    struct Place {
        int depth = 0;
        bool inTrack = false;
    };

    explicit EditListScan(AVIOContext& input);

    void walk(std::int64_t start, std::int64_t end, Place place);
    bool readBox(std::int64_t& position, std::int64_t end, Box& box);
    void visit(const Box& box, Place place);
    void walkMeta(const Box& box, Place inside);
    void search(const Box& box);
    void countEdits(const Box& box);

    AVIOContext& input_;
    std::int64_t longestEditList_ = 0;
    bool compressed_ = false;
};
