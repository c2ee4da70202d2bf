#pragma once

#include <atomic>

namespace VELMORA {

// Hands values from one writer thread to one reader thread without a lock and
// without either side waiting: the writer fills back() and publishes it; the
// reader's front() is the latest published value. Three slots keep the
// writer's slot, the newest published one and the one being read apart.
template <class T>
class TripleBuffer {
public:
    // Writer side.
    T& back() { return slots[backIndex]; }
    void publish() {
        backIndex = middle.exchange(backIndex | kFresh, std::memory_order_acq_rel) & kIndex;
    }

    // Reader side: the latest published value, or the previous one (a
    // value-initialised T before the first publish) when nothing new came.
    const T& front() {
        if ((middle.load(std::memory_order_relaxed) & kFresh) != 0) {
            frontIndex = middle.exchange(frontIndex, std::memory_order_acq_rel) & kIndex;
        }
        return slots[frontIndex];
    }

private:
    static constexpr int kIndex = 3;
    static constexpr int kFresh = 4;

    T slots[3]{};
    std::atomic<int> middle{1};
    int backIndex = 0;
    int frontIndex = 2;
};

} // namespace VELMORA
