#pragma once

#include <atomic>
#include <memory>

#include "AUBlockTypes.h"

// Holds the MIDI output block that the render thread calls. The render thread
// borrows the current block for one cycle without allocating or locking; a
// replacement from another thread publishes the new block at once and releases
// the old one only after no cycle borrows it any more.
class MIDIOutputBlockSlot {
public:
    using Block = std::shared_ptr<const AUMIDIOutputEventBlock>;

    MIDIOutputBlockSlot() = default;
    MIDIOutputBlockSlot(const MIDIOutputBlockSlot&) = delete;
    MIDIOutputBlockSlot& operator=(const MIDIOutputBlockSlot&) = delete;

    // Storing the block already held costs nothing, so it may be repeated from the
    // render thread before every cycle. Replacements must not overlap each other.
    // A different block stored on the render thread releases the old one there.
    void store(const Block& block);

    // Render thread: the block for this cycle (null when none), valid until release().
    const AUMIDIOutputEventBlock* borrow();
    void release();

private:
    Block owned;
    std::atomic<const AUMIDIOutputEventBlock*> current{nullptr};
    std::atomic<const AUMIDIOutputEventBlock*> borrowed{nullptr};
};
