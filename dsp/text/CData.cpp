#include "CData.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace DUD {

namespace {

// The largest content whose padded storage still fits an int.
constexpr std::size_t kMaxLength = INT_MAX - 4;

char* Append(char* out, std::string_view text)
{
    if (!text.empty())
        std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

char* AppendTabs(char* out, std::size_t count)
{
    std::memset(out, '\t', count);
    return out + count;
}

} // namespace

int CData::count = 0;
char* CData::temp = nullptr;
char32_t* CData::wtemp = nullptr;

CData::CData()
{
    ++count;
}

CData::CData(const CData& other) : className(other.className)
{
    ++count;
    Compose({other.Bytes()});
}

CData::CData(CData&& other) noexcept
    : className(other.className), data(std::exchange(other.data, nullptr)),
      length(std::exchange(other.length, 0))
{
    ++count;
}

CData& CData::operator=(const CData& other)
{
    if (!Compose({other.Bytes()}))
        Clear();
    return *this;
}

CData& CData::operator=(CData&& other) noexcept
{
    if (this != &other) {
        Clear();
        data = std::exchange(other.data, nullptr);
        length = std::exchange(other.length, 0);
    }
    return *this;
}

CData::~CData()
{
    Clear();
    if (--count == 0) {
        std::free(std::exchange(temp, nullptr));
        std::free(std::exchange(wtemp, nullptr));
    }
}

const char* CData::ClassName() const { return className; }
int CData::ClassCount() const { return count; }
int CData::Length() const { return length; }
bool CData::Empty() const { return length == 0; }
int CData::DataSize() const { return Padding(length); }

int CData::ObjectSize() const
{
    return static_cast<int>(sizeof(CData));
}

const char* CData::String() const { return Hex5(); }
const char* CData::Hex2() const { return Render("", "", "", "00"); }
const char* CData::ColorRGB() const { return Render("#", "", "", "#000000"); }
const char* CData::Hex3() const { return Render("", "", " ", "00"); }
const char* CData::Hex4() const { return Render("", "#", " ", "#00"); }
const char* CData::Hex5() const { return Render("", "0x", " ", "0x00"); }

const char* CData::XML(int indent) const
{
    if (Empty())
        return "<CData>\n\tundefined</CData>";
    return Element("CData", "HEX5", String(), indent);
}

void CData::Clear()
{
    std::free(std::exchange(data, nullptr));
    length = 0;
}

const char* CData::Data() const
{
    return data ? data : kNullText;
}

void* CData::CAlloc(std::size_t count, std::size_t size)
{
    if (count == 0 || size == 0)
        return nullptr;
    return std::calloc(count, size);
}

int CData::Padding(int n)
{
    if (n < 1)
        return 0;
    return ((n + 1) + 3) / 4 * 4;
}

int CData::StrLen(const char* text)
{
    return text ? static_cast<int>(std::strlen(text)) : 0;
}

std::string_view CData::Bytes() const
{
    return {data, static_cast<std::size_t>(length)};
}

bool CData::Compose(std::initializer_list<std::string_view> pieces)
{
    std::size_t total = 0;
    for (std::string_view piece : pieces) {
        if (piece.size() > kMaxLength - total)
            return false;
        total += piece.size();
    }
    if (total == 0) {
        Clear();
        return true;
    }
    char* storage = Allocate(total);
    if (!storage)
        return false;
    char* out = storage;
    for (std::string_view piece : pieces)
        out = Append(out, piece);
    Adopt(storage, static_cast<int>(total));
    return true;
}

char* CData::Allocate(std::size_t n)
{
    if (n > kMaxLength)
        return nullptr;
    return static_cast<char*>(CAlloc(static_cast<std::size_t>(Padding(static_cast<int>(n))), 1));
}

void CData::Adopt(char* storage, int n)
{
    std::free(data);
    data = storage;
    length = storage ? n : 0;
}

const char* CData::KeepResult(char* text)
{
    if (!text)
        return kOutOfMemory;
    std::free(temp);
    temp = text;
    return temp;
}

const char32_t* CData::KeepWideResult(char32_t* text)
{
    std::free(wtemp);
    wtemp = text;
    return wtemp;
}

const char* CData::Element(const char* tag, const char* encoding, std::string_view text, int indent)
{
    constexpr std::string_view open = "<", attribute = " encoding='", body = "'>\n\t", line = "\n",
                               close = "</", finish = ">\n";
    const std::string_view name = tag, code = encoding;
    const std::size_t tabs = indent > 0 ? static_cast<std::size_t>(indent) : 0;
    const std::size_t size = 3 * tabs + 2 * name.size() + code.size() + text.size() + open.size() +
                             attribute.size() + body.size() + line.size() + close.size() + finish.size();
    char* out = static_cast<char*>(CAlloc(size + 1, 1));
    if (!out)
        return kOutOfMemory;
    char* end = AppendTabs(out, tabs);
    for (std::string_view piece : {open, name, attribute, code, body})
        end = Append(end, piece);
    end = AppendTabs(end, tabs);
    end = Append(end, text);
    end = Append(end, line);
    end = AppendTabs(end, tabs);
    for (std::string_view piece : {close, name, finish})
        end = Append(end, piece);
    return KeepResult(out);
}

const char* CData::Render(std::string_view lead, std::string_view prefix, std::string_view separator,
                          const char* whenEmpty) const
{
    if (Empty())
        return whenEmpty;
    const std::size_t perByte = prefix.size() + 2 + separator.size();
    char* out = static_cast<char*>(CAlloc(lead.size() + perByte * static_cast<std::size_t>(length) + 1, 1));
    if (!out)
        return kOutOfMemory;
    char* end = Append(out, lead);
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        end = Append(end, prefix);
        end = Append(end, {&hextable[2 * byte], 2});
        end = Append(end, separator);
    }
    // The blank after the last byte is not part of the rendering.
    end[-static_cast<std::ptrdiff_t>(separator.size())] = '\0';
    return KeepResult(out);
}

} // namespace DUD
