#pragma once

#include <cstdint>

struct AVIOContext;

// Reads the boxes of an MP4 file the way FFmpeg's demuxer will, before it
// does: the demuxer copies into its index every packet an edit covers, once
// for each edit, so that an edit list repeated a hundred thousand times takes
// gigabytes while the file is opened. A file of another format holds no such
// boxes. The input is left at its start.
class EditListScan {
public:
    struct Finding {
        // The most edits one edit list of the file holds, as the demuxer
        // counts them.
        std::int64_t longestEditList = 0;
        // A compressed movie header does not inflate within
        // kMaximumMovieHeader, as the demuxer would inflate it.
        bool unreadableHeader = false;
        // The boxes are nested and repeated past kMaximumWork: reading them
        // all would take longer than any real sound's decoding.
        bool tooManyBoxes = false;
    };

    // A real file holds a few dozen boxes, or a few for each fragment; each
    // box read, each byte searched through and each 64 bytes of the file read
    // again cost one.
    static constexpr std::int64_t kMaximumWork = std::int64_t { 1 } << 22;
    // A movie header holds a few bytes for each packet: ten minutes of the
    // shortest, 2.5 ms long, take some 3 MB of tables, and tags may add a
    // picture. A compressed one is held in memory both as read and inflated.
    static constexpr std::int64_t kMaximumMovieHeader = std::int64_t { 16 } << 20;

    static Finding find(AVIOContext& input);

private:
    // Where a box's contents lie in the file.
    struct Box {
        std::uint32_t type = 0;
        std::int64_t start = 0;
        std::int64_t end = 0;
    };

    // What the input had read, and how far into it, when a box's header was
    // last read.
    struct Reading {
        std::int64_t counted = 0;
        std::int64_t reached = 0;
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
    void search(const Box& box, Place inside);
    void walkCompressed(const Box& box, Place inside);
    void walkInflated(std::int64_t compressed, std::int64_t size, Place inside);
    void countEdits(const Box& box);

    std::int64_t readAgain();
    bool spend(std::int64_t work);

    // The file, or a movie header inflated from it.
    AVIOContext* input_;
    Finding found_;
    std::int64_t work_ = 0;
    Reading reading_;
};
