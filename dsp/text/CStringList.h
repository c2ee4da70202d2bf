#pragma once

#include "CPointerList.h"

#include <string_view>

namespace DUD {

// The list that CString::Split fills: NUL-terminated texts that the list owns.
class CStringList {
public:
    CStringList() = default;
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;
    ~CStringList();

    // Frees every text and empties the list.
    void Clear();
    // Appends a copy of piece; false, with the list unchanged, when there is no memory.
    bool Add(std::string_view piece);
    int Count();
    // The text at index, or null outside the list.
    const char* At(int index);

private:
    CPointerList texts;
};

} // namespace DUD
