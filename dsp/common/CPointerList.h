#pragma once

#include <cstdint>
#include <memory>
#include <new>

namespace DUD {

// A doubly linked list of untyped pointers. It owns its nodes, never the
// entries. A cursor serves iteration (Rewind, then Next until null), and the
// entries can be lent out as a plain array and taken back.
//
// A list given an ItemPool takes its nodes from the pool and returns them
// there, so filling and clearing it never touches the heap (the render thread
// relies on that).
class CPointerList {
public:
    struct Item {
        void* data = nullptr;
        Item* prev = nullptr;
        Item* next = nullptr;
    };

    // A fixed stock of nodes, sized before use, shared by the lists given it.
    class ItemPool {
    public:
        // Makes room for n nodes. Only when no node is taken; false on failure
        // (the pool is then empty).
        bool reserve(int32_t n);
        int32_t capacity() const { return capacityCount; }
        int32_t available() const { return availableCount; }
        // Nodes given back first, then those never taken since the pool was
        // sized or reclaimed, in array order (so lists filled after a reclaim
        // lie in memory in the order they are walked).
        Item* take() {
            Item* item = freeList;
            if (item != nullptr) {
                freeList = item->next;
            } else if (unusedFrom < capacityCount) {
                item = &items[unusedFrom++];
            } else {
                return nullptr;
            }
            *item = Item{};
            --availableCount;
            return item;
        }
        void give(Item* item) {
            item->next = freeList;
            freeList = item;
            ++availableCount;
        }
        // Takes every node back at once, for the owner of all the lists that
        // use the pool, after each of them has let go of its nodes (Abandon).
        void reclaimAll() {
            freeList = nullptr;
            unusedFrom = 0;
            availableCount = capacityCount;
        }

    private:
        std::unique_ptr<Item[]> items;
        Item* freeList = nullptr;
        int32_t unusedFrom = 0;
        int32_t capacityCount = 0;
        int32_t availableCount = 0;
    };

    // The slots that BeginArrayOperation lends out.
    class CArray {
    public:
        CArray() = default;
        CArray(const CArray&) = delete;
        CArray& operator=(const CArray&) = delete;
        virtual void Clear();
        // Replaces the slots by n new null slots; null for n <= 0 or failure.
        virtual void** Alloc(int n);
        virtual ~CArray();

        int32_t count = 0;
        void** pointers = nullptr;
    };

    explicit CPointerList(ItemPool* pool = nullptr);
    CPointerList(const CPointerList&) = delete;

    // Takes nodes from `pool` (null: the heap) from now on; only while the list
    // is empty, so that every node goes back where it came from.
    bool setItemPool(ItemPool* pool);

    // The cursor node, moving the cursor on; null (cursor kept) at the end.
    // Inline, so that walks over a list of known type need no calls.
    virtual Item* _Next() {
        Item* item = current;
        if (item != nullptr) {
            current = item->next;
        }
        return item;
    }
    virtual ~CPointerList();
    // Replaces the entries by a copy of the other list's, in order.
    virtual int operator=(CPointerList& other);
    // Moves the other list's entries here; the other list ends empty.
    virtual int Assign(CPointerList& other);
    virtual int Count();
    // Clear and Push are inline, as the chromatic walk empties and fills its
    // lists (of known type) on every analysis.
    virtual void Clear() {
        Item* item = first;
        while (item != nullptr) {
            Item* next = item->next;
            releaseItem(item);
            item = next;
        }
        first = last = current = nullptr;
        count = 0;
    }
    // Empties the list without handing its nodes back: only when the pool
    // they came from is about to take all of its nodes back (reclaimAll).
    void Abandon() {
        first = last = current = nullptr;
        count = 0;
    }
    virtual bool Add(void* entry);
    // Appends a non-null entry and puts the cursor on it. False, with the list
    // unchanged, when the entry is null or no node can be had.
    virtual bool Push(void* entry) {
        if (entry == nullptr) {
            return false;
        }
        Item* item = newItem();
        if (item == nullptr) {
            return false;
        }
        item->data = entry;
        item->prev = last;
        if (last != nullptr) {
            last->next = item;
        } else {
            first = item;
        }
        last = current = item;
        ++count;
        return true;
    }
    virtual void* Pop();
    virtual void Delete(void* entry);
    virtual void Delete(int index);
    // The entry at index; the cursor moves to the node after it.
    virtual void* At(int index);
    virtual void* operator[](int index);
    virtual void* First();
    virtual void* Last();
    virtual void* Next();
    virtual void* Current();
    virtual void Rewind() { current = first; }
    // Lends the entries out as slots (head first) and empties the list;
    // null when the list is empty or the slots cannot be had.
    virtual void** BeginArrayOperation();
    // Takes back the non-null slots in slot order and frees the slots.
    virtual void EndArrayOperation();

protected:
    CArray array;
    Item* first = nullptr;
    Item* last = nullptr;
    Item* current = nullptr;
    int32_t count = 0;

private:
    Item* newItem() { return pool != nullptr ? pool->take() : new (std::nothrow) Item{}; }
    void releaseItem(Item* item) {
        if (pool != nullptr) {
            pool->give(item);
        } else {
            delete item;
        }
    }
    void unlink(Item* item);

    ItemPool* pool;
};

} // namespace DUD
