#include "CPointerList.h"

#include <new>

namespace DUD {

bool CPointerList::ItemPool::reserve(int32_t n) {
    if (availableCount != capacityCount) {
        return false;
    }
    if (n == capacityCount) {
        return true;
    }
    items.reset();
    freeList = nullptr;
    unusedFrom = 0;
    capacityCount = availableCount = 0;
    if (n <= 0) {
        return n == 0;
    }
    items.reset(new (std::nothrow) Item[static_cast<std::size_t>(n)]);
    if (!items) {
        return false;
    }
    capacityCount = availableCount = n;
    return true;
}

void CPointerList::CArray::Clear() {
    if (pointers != nullptr) {
        delete[] pointers;
        pointers = nullptr;
        count = 0;
    }
}

void** CPointerList::CArray::Alloc(int n) {
    Clear();
    if (n > 0) {
        pointers = new (std::nothrow) void*[static_cast<std::size_t>(n)]();
        if (pointers != nullptr) {
            count = n;
        }
    }
    return pointers;
}

CPointerList::CArray::~CArray() {
    Clear();
}

CPointerList::CPointerList(ItemPool* pool) : pool(pool) {}

bool CPointerList::setItemPool(ItemPool* newPool) {
    if (count != 0) {
        return false;
    }
    pool = newPool;
    return true;
}

CPointerList::~CPointerList() {
    Clear();
}

int CPointerList::operator=(CPointerList& other) {
    // Clearing first would lose the very entries to be copied.
    if (&other == this) {
        return 0;
    }
    Clear();
    other.Rewind();
    while (void* entry = other.Next()) {
        Push(entry);
    }
    return 0;
}

int CPointerList::Assign(CPointerList& other) {
    if (&other == this) {
        return 0;
    }
    *this = other;
    other.Clear();
    return 0;
}

int CPointerList::Count() {
    return count;
}

bool CPointerList::Add(void* entry) {
    return Push(entry);
}

void* CPointerList::Pop() {
    Item* item = last;
    if (item == nullptr) {
        return nullptr;
    }
    void* entry = item->data;
    last = item->prev;
    if (last != nullptr) {
        last->next = nullptr;
    } else {
        first = nullptr;
    }
    current = last;
    releaseItem(item);
    --count;
    return entry;
}

void CPointerList::Delete(void* entry) {
    if (entry == nullptr) {
        return;
    }
    for (Item* item = first; item != nullptr; item = item->next) {
        if (item->data == entry) {
            unlink(item);
            return;
        }
    }
}

void CPointerList::Delete(int index) {
    if (index < 0 || index >= count) {
        return;
    }
    Item* item = first;
    for (int i = 0; i < index; ++i) {
        item = item->next;
    }
    unlink(item);
}

void* CPointerList::At(int index) {
    if (index < 0 || index >= count) {
        return nullptr;
    }
    Item* item = first;
    for (int i = 0; i < index; ++i) {
        item = item->next;
    }
    current = item->next;
    return item->data;
}

void* CPointerList::operator[](int index) {
    return At(index);
}

void* CPointerList::First() {
    return first != nullptr ? first->data : nullptr;
}

void* CPointerList::Last() {
    return last != nullptr ? last->data : nullptr;
}

void* CPointerList::Next() {
    Item* item = _Next();
    return item != nullptr ? item->data : nullptr;
}

void* CPointerList::Current() {
    return current != nullptr ? current->data : nullptr;
}

void** CPointerList::BeginArrayOperation() {
    if (count == 0 || array.Alloc(count) == nullptr) {
        return nullptr;
    }
    int32_t slot = 0;
    for (Item* item = first; item != nullptr; item = item->next) {
        array.pointers[slot++] = item->data;
    }
    Clear();
    return array.pointers;
}

void CPointerList::EndArrayOperation() {
    if (array.pointers == nullptr) {
        return;
    }
    Clear();
    for (int32_t slot = 0; slot < array.count; ++slot) {
        Push(array.pointers[slot]);
    }
    array.Clear();
}

void CPointerList::unlink(Item* item) {
    if (item->prev != nullptr) {
        item->prev->next = item->next;
    } else {
        first = item->next;
    }
    if (item->next != nullptr) {
        item->next->prev = item->prev;
    } else {
        last = item->prev;
    }
    if (current == item) {
        current = item->prev;
    }
    releaseItem(item);
    --count;
}

} // namespace DUD
