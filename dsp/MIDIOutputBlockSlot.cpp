#include "MIDIOutputBlockSlot.h"

#include <thread>

void MIDIOutputBlockSlot::store(const Block& block)
{
    if (block == owned)
        return;
    Block previous = std::move(owned);
    owned = block;
    current.store(owned.get(), std::memory_order_seq_cst);
    // A cycle that saw the previous block announced it before checking that it was
    // still current, so once it is no longer announced no cycle can be using it.
    while (previous && borrowed.load(std::memory_order_seq_cst) == previous.get())
        std::this_thread::yield();
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
