#pragma once

#include <atomic>
#include <memory>

#include "AUBlockTypes.h"

// Holds the MIDI output block that the render thread calls. The render thread
// borrows the current block for one cycle without allocating or locking, and
// may also install a block itself before a cycle. Other threads replace the
// block at any time; a replaced block is released only off the render thread
// and only after no cycle borrows it any more.
class MIDIOutputBlockSlot {
public:
    using Block = std::shared_ptr<const AUMIDIOutputEventBlock>;

    MIDIOutputBlockSlot() = default;
    MIDIOutputBlockSlot(const MIDIOutputBlockSlot&) = delete;
    MIDIOutputBlockSlot& operator=(const MIDIOutputBlockSlot&) = delete;

    // Any thread but the render thread. Also lets go of a block that the render
    // thread replaced earlier.
    void store(const Block& block);

    // Render thread, between cycles: installs `block` without allocating,
    // waiting or freeing. The block it replaces is parked until the next
    // store(). While another thread is storing, or a parked block still waits,
    // the slot keeps its block and the install is tried again next cycle.
    void storeFromRenderThread(const Block& block);

    // Render thread: the block for this cycle (null when none), valid until release().
    const AUMIDIOutputEventBlock* borrow();
    void release();

private:
    bool tryLock();
    void lock();
    void unlock();

    std::atomic_flag changing;
    Block owned;
    Block parked;
    std::atomic<const AUMIDIOutputEventBlock*> current{nullptr};
    std::atomic<const AUMIDIOutputEventBlock*> borrowed{nullptr};
};
