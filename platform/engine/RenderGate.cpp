#include "RenderGate.h"

#include <thread>

RenderGate::RenderGate(bool open)
    : closed_(!open)
{
}

// Both sides store their own flag before they read the other's (sequentially
// consistent), so a render and a change never both go ahead.
bool RenderGate::tryEnter()
{
    rendering_.store(true, std::memory_order_seq_cst);
    if (closed_.load(std::memory_order_seq_cst)) {
        rendering_.store(false, std::memory_order_release);
        return false;
    }
    return true;
}

void RenderGate::leave() { rendering_.store(false, std::memory_order_release); }

void RenderGate::close()
{
    closed_.store(true, std::memory_order_seq_cst);
    while (rendering_.load(std::memory_order_seq_cst))
        std::this_thread::yield();
}

void RenderGate::open() { closed_.store(false, std::memory_order_release); }

RenderGate::Closed::Closed(RenderGate& gate)
    : gate_(gate)
{
    gate_.close();
}

RenderGate::Closed::~Closed() { gate_.open(); }
