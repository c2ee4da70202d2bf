#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace DUD {

// The 256 two-digit uppercase hexadecimal numbers "00" to "FF", back to back.
inline constexpr std::array<char, 513> hextable = [] {
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<char, 513> table{};
    for (int value = 0; value < 256; ++value) {
        table[2 * value] = digits[value >> 4];
        table[2 * value + 1] = digits[value & 15];
    }
    return table;
}();

// A length-counted byte buffer. Storage for n bytes is always Padding(n)
// zeroed bytes, so the bytes stay NUL-terminated; an empty buffer owns none.
//
// The text renderings of all objects share one result buffer: each rendering
// frees the previous result, so a result is valid only until the next one.
// None of this is meant for two threads at once.
class CData {
public:
    CData();
    CData(const CData& other);
    CData(CData&& other) noexcept;
    CData& operator=(const CData& other);
    CData& operator=(CData&& other) noexcept;
    virtual ~CData();

    virtual const char* ClassName() const;
    virtual int ClassCount() const;
    virtual int Length() const;
    virtual bool Empty() const;
    virtual int DataSize() const;
    virtual int ObjectSize() const;
    virtual const char* String() const;
    virtual const char* Hex2() const;
    virtual const char* ColorRGB() const;
    virtual const char* Hex3() const;
    virtual const char* Hex4() const;
    virtual const char* Hex5() const;
    virtual const char* XML(int indent) const;

    void Clear();
    // The bytes, or the text "(null*)" when there are none.
    const char* Data() const;

    // Zero-filled memory for count items of size bytes (release with
    // std::free); null for a zero count or size, or when there is none.
    static void* CAlloc(std::size_t count, std::size_t size);
    static int Padding(int n);
    static int StrLen(const char* text);

protected:
    static constexpr const char* kNullText = "(null*)";
    static constexpr const char* kOutOfMemory = "(out of memory)";

    std::string_view Bytes() const;
    // Replaces the contents with the pieces joined; the pieces may point into
    // the current contents. On allocation failure nothing changes.
    bool Compose(std::initializer_list<std::string_view> pieces);
    // Makes the Padding(n) zeroed bytes of a new content of n bytes, or null.
    static char* Allocate(std::size_t n);
    // Takes storage made by Allocate(n) as the contents.
    void Adopt(char* storage, int n);
    // Keeps text as the shared rendering result, freeing the previous one.
    static const char* KeepResult(char* text);
    static const char32_t* KeepWideResult(char32_t* text);
    // Shared rendering of an XML element around text with the given tag and encoding.
    static const char* Element(const char* tag, const char* encoding, std::string_view text, int indent);

    const char* className = "CData";
    char* data = nullptr;
    int length = 0;

private:
    const char* Render(std::string_view lead, std::string_view prefix, std::string_view separator,
                       const char* whenEmpty) const;

    static int count;
    static char* temp;
    static char32_t* wtemp;
};

} // namespace DUD
