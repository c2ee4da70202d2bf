#include "CStringList.h"

#include "CData.h"

#include <cstdlib>
#include <cstring>

namespace DUD {

CStringList::~CStringList()
{
    Clear();
}

void CStringList::Clear()
{
    texts.Rewind();
    while (void* text = texts.Next())
        std::free(text);
    texts.Clear();
}

bool CStringList::Add(std::string_view piece)
{
    auto* text = static_cast<char*>(CData::CAlloc(piece.size() + 1, 1));
    if (!text)
        return false;
    if (!piece.empty())
        std::memcpy(text, piece.data(), piece.size());
    if (!texts.Push(text)) {
        std::free(text);
        return false;
    }
    return true;
}

int CStringList::Count()
{
    return texts.Count();
}

const char* CStringList::At(int index)
{
    return static_cast<const char*>(texts.At(index));
}

} // namespace DUD
