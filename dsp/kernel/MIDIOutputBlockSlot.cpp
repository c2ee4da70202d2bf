#include "MIDIOutputBlockSlot.h"

#include <thread>

void MIDIOutputBlockSlot::store(const Block& block)
{
    Block previous;
    Block released;
    lock();
    if (block != owned) {
        previous = std::move(owned);
        owned = block;
        current.store(owned.get(), std::memory_order_seq_cst);
    }
    released = std::move(parked);
    unlock();
    // A cycle that saw the previous block announced it before checking that it was
    // still current, so once it is no longer announced no cycle can be using it.
    while (previous && borrowed.load(std::memory_order_seq_cst) == previous.get())
        std::this_thread::yield();
}

void MIDIOutputBlockSlot::storeFromRenderThread(const Block& block)
{
    if (block.get() == current.load(std::memory_order_acquire) || !tryLock())
        return;
    if (!parked) {
        parked = std::move(owned);
        owned = block;
        current.store(owned.get(), std::memory_order_seq_cst);
    }
    unlock();
}

const AUMIDIOutputEventBlock* MIDIOutputBlockSlot::borrow()
{
    const AUMIDIOutputEventBlock* block = current.load(std::memory_order_seq_cst);
    for (;;) {
        borrowed.store(block, std::memory_order_seq_cst);
        const AUMIDIOutputEventBlock* check = current.load(std::memory_order_seq_cst);
        if (check == block)
            return block;
        block = check;
    }
}

void MIDIOutputBlockSlot::release()
{
    borrowed.store(nullptr, std::memory_order_release);
}

bool MIDIOutputBlockSlot::tryLock()
{
    return !changing.test_and_set(std::memory_order_acquire);
}

// Held only for a few pointer moves, by the render thread or a storing thread.
void MIDIOutputBlockSlot::lock()
{
    while (!tryLock())
        std::this_thread::yield();
}

void MIDIOutputBlockSlot::unlock()
{
    changing.clear(std::memory_order_release);
}
