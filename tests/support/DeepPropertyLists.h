#pragma once

#include "Data.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Property lists built byte by byte, nested or shared as deeply as a test
// needs, without any writer that might refuse them.

inline std::string repeated(const std::string& text, std::size_t count)
{
    std::string result;
    result.reserve(text.size() * count);
    for (std::size_t i = 0; i < count; ++i) {
        result += text;
    }
    return result;
}

// levels containers of one kind nested in an XML list, the innermost holding a true.
inline std::string nestedXML(std::size_t levels, bool dictionaries)
{
    const std::string open = dictionaries ? "<dict><key>k</key>" : "<array>";
    const std::string close = dictionaries ? "</dict>" : "</array>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + repeated(open, levels) +
           "<true/>" + repeated(close, levels) + "</plist>";
}

// XML lists whose levels arrays follow markup that the reader and a careless
// scan split differently: a single quote inside a tag (it quotes nothing for
// the reader) and a quoted "[" in the document type declaration (it opens no
// internal subset).
inline std::vector<std::string> disguisedNestedXML(std::size_t levels)
{
    const std::string arrays = repeated("<array>", levels);
    return {"<plist version=\"1.0\"><array x='>" + arrays + "'>", "<!DOCTYPE plist \"[\"><plist>" + arrays};
}

inline void appendBigEndian(Data& data, std::uint64_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        data.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// A binary list whose object i is an array holding the objects arrays[i]
// names (fewer than 15), object 0 on top; one more object, a true, follows
// them at index arrays.size().
inline Data binaryArrays(const std::vector<std::vector<std::uint32_t>>& arrays)
{
    const std::string magic = "bplist00";
    Data data(magic.begin(), magic.end());
    std::vector<std::uint64_t> offsets;
    for (const auto& references : arrays) {
        offsets.push_back(data.size());
        data.push_back(static_cast<std::uint8_t>(0xA0 | references.size()));
        for (const auto reference : references) {
            appendBigEndian(data, reference, 4);
        }
    }
    offsets.push_back(data.size());
    data.push_back(0x09);
    const auto table = data.size();
    for (const auto offset : offsets) {
        appendBigEndian(data, offset, 4);
    }
    data.insert(data.end(), {0, 0, 0, 0, 0, 0, 4, 4});
    appendBigEndian(data, offsets.size(), 8);
    appendBigEndian(data, 0, 8);
    appendBigEndian(data, table, 8);
    return data;
}

// levels arrays, each holding the next, the innermost holding a true.
inline Data nestedBinary(std::size_t levels)
{
    std::vector<std::vector<std::uint32_t>> arrays(levels);
    for (std::uint32_t i = 0; i < levels; ++i) {
        arrays[i] = {i + 1};
    }
    return binaryArrays(arrays);
}

// A binary list of the objects' bytes, object 0 on top, references one byte wide.
inline Data binaryObjects(const std::vector<Data>& objects)
{
    const std::string magic = "bplist00";
    Data data(magic.begin(), magic.end());
    std::vector<std::uint64_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(data.size());
        data.insert(data.end(), object.begin(), object.end());
    }
    const auto table = data.size();
    const std::uint8_t offsetBytes = table > 0xFFFF ? 4 : 2;
    for (const auto offset : offsets) {
        appendBigEndian(data, offset, offsetBytes);
    }
    data.insert(data.end(), {0, 0, 0, 0, 0, 0, offsetBytes, 1});
    appendBigEndian(data, offsets.size(), 8);
    appendBigEndian(data, 0, 8);
    appendBigEndian(data, table, 8);
    return data;
}

// A binary ASCII text object shorter than 15 characters.
inline Data binaryText(const std::string& text)
{
    Data object{static_cast<std::uint8_t>(0x50 | text.size())};
    object.insert(object.end(), text.begin(), text.end());
    return object;
}

// A binary array object holding `count` one-byte references to `object`.
inline Data binaryArrayOf(std::uint8_t object, std::uint32_t count)
{
    Data array{0xAF, 0x12};
    appendBigEndian(array, count, 4);
    array.insert(array.end(), count, object);
    return array;
}

// Binary lists holding the UTF-16 text "A", U+0000: on top, as the value and
// as the key of a dictionary.
inline std::vector<Data> binaryTextsWithNul()
{
    const Data text{0x62, 0x00, 0x41, 0x00, 0x00};
    const Data key{0x51, 'k'};
    return {binaryObjects({text}), binaryObjects({{0xD1, 0x01, 0x02}, key, text}),
            binaryObjects({{0xD1, 0x01, 0x02}, text, {0x09}})};
}

// The disguised deep lists and the lists holding texts with a NUL
// character, binary or XML, each of which ended the process of any reader
// that was handed it.
inline std::vector<Data> listsThatEndedTheProcess()
{
    std::vector<Data> lists = binaryTextsWithNul();
    auto documents = disguisedNestedXML(200'000);
    documents.push_back(std::string("<plist><dict><key>k</key><string>A\0</string></dict></plist>", 59));
    for (const auto& document : documents) {
        lists.emplace_back(document.begin(), document.end());
    }
    return lists;
}

inline void writeFile(const std::filesystem::path& file, const Data& content)
{
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
}
