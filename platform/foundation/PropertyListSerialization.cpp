#include "PropertyListSerialization.h"

#include "PropertyListBinaryScan.h"
#include "PropertyListXMLScan.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string_view>

namespace {

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

struct MallocDeleter {
    void operator()(void* memory) const { std::free(memory); }
};

std::string takeText(char* text)
{
    const std::unique_ptr<char, MallocDeleter> owned(text);
    return owned ? std::string(owned.get()) : std::string();
}

const char* checkedText(const std::string& text, std::string_view what)
{
    if (text.find('\0') != std::string::npos) {
        throw PropertyListError("PropertyListSerialization: a " + std::string(what) +
                                " holds a NUL character, which a property list cannot store");
    }
    return text.c_str();
}

Node toNode(const PropertyListValue& value);

struct MakeNode {
    Node operator()(bool value) const { return Node(plist_new_bool(value ? 1 : 0)); }
    Node operator()(std::int64_t value) const
    {
        // The library keeps integers unsigned; the two's complement bits come
        // back as the same signed value.
        return Node(plist_new_uint(static_cast<std::uint64_t>(value)));
    }
    Node operator()(double value) const { return Node(plist_new_real(value)); }
    Node operator()(const std::string& value) const
    {
        return Node(plist_new_string(checkedText(value, "text")));
    }
    Node operator()(const Data& value) const
    {
        return Node(plist_new_data(reinterpret_cast<const char*>(value.data()), value.size()));
    }
    Node operator()(const PropertyListValue::Array& value) const
    {
        Node array(plist_new_array());
        for (const auto& item : value) {
            plist_array_append_item(array.get(), toNode(item).release());
        }
        return array;
    }
    Node operator()(const PropertyListValue::Dictionary& value) const
    {
        Node dictionary(plist_new_dict());
        for (const auto& [key, item] : value) {
            const char* name = checkedText(key, "key");
            plist_dict_set_item(dictionary.get(), name, toNode(item).release());
        }
        return dictionary;
    }
};

Node toNode(const PropertyListValue& value)
{
    return std::visit(MakeNode{}, value.storage());
}

PropertyListError tooDeep()
{
    return PropertyListError("PropertyListSerialization: the property list nests deeper than " +
                             std::to_string(PropertyListSerialization::kMaximumDepth) + " levels");
}

// depth: the containers around node.
PropertyListValue fromNode(plist_t node, std::size_t depth);

// Walked with the library's iterator: on an array it read from binary data,
// reaching an item by its index walks the list from the start.
PropertyListValue arrayFromNode(plist_t node, std::size_t depth)
{
    PropertyListValue::Array array;
    array.reserve(plist_array_get_size(node));
    plist_array_iter iterator = nullptr;
    plist_array_new_iter(node, &iterator);
    const std::unique_ptr<void, MallocDeleter> ownedIterator(iterator);
    for (;;) {
        plist_t item = nullptr;
        plist_array_next_item(node, iterator, &item);
        if (item == nullptr) {
            return array;
        }
        array.push_back(fromNode(item, depth));
    }
}

PropertyListValue dictionaryFromNode(plist_t node, std::size_t depth)
{
    PropertyListValue::Dictionary dictionary;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    const std::unique_ptr<void, MallocDeleter> ownedIterator(iterator);
    for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iterator, &key, &item);
        if (item == nullptr) {
            takeText(key);
            return dictionary;
        }
        std::string name = takeText(key);
        dictionary.insert_or_assign(std::move(name), fromNode(item, depth));
    }
}

PropertyListValue fromNode(plist_t node, std::size_t depth)
{
    const auto type = plist_get_node_type(node);
    if ((type == PLIST_ARRAY || type == PLIST_DICT) && depth == PropertyListSerialization::kMaximumDepth) {
        throw tooDeep();
    }
    switch (type) {
    case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value != 0;
    }
    case PLIST_UINT: {
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return static_cast<std::int64_t>(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING: {
        char* text = nullptr;
        plist_get_string_val(node, &text);
        return takeText(text);
    }
    case PLIST_DATA: {
        char* bytes = nullptr;
        std::uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        const std::unique_ptr<char, MallocDeleter> owned(bytes);
        const auto* begin = reinterpret_cast<const std::uint8_t*>(owned.get());
        return Data(begin, begin + (owned ? length : 0));
    }
    case PLIST_ARRAY:
        return arrayFromNode(node, depth + 1);
    case PLIST_DICT:
        return dictionaryFromNode(node, depth + 1);
    default:
        throw PropertyListError(
            "PropertyListSerialization: the property list holds a date, UID or other value "
            "of a type that is not supported");
    }
}

bool isBinary(const Data& data)
{
    constexpr std::string_view magic = "bplist";
    return data.size() >= magic.size() && std::equal(magic.begin(), magic.end(), data.begin());
}

PropertyListError tooLarge(const std::string& figure)
{
    return PropertyListError("PropertyListSerialization: the property list would hold more than " + figure +
                             ", counting a shared object wherever it is used");
}

PropertyListError notAPropertyList(const Data& data, std::string_view kind)
{
    return PropertyListError("PropertyListSerialization: the data (" + std::to_string(data.size()) +
                             " bytes) is not a valid " + std::string(kind) + "property list");
}

// The library's reader, and its copying and freeing of a tree, recurse once
// per level, so a list nested deeply enough ends the process before the
// conversion below could refuse it; a list whose values or texts, counted
// wherever a binary list shares them, are out of all proportion to any real
// one needs more memory than the process may have, and the reader then
// crashes on an allocation that failed; and a binary text holding U+0000
// trips the library's own assertion. All are turned away from the bytes
// alone, as is an XML document the scan cannot follow as the reader would.
void checkShape(const Data& data)
{
    const PropertyListShape limits { PropertyListSerialization::kMaximumDepth,
                                     PropertyListSerialization::kMaximumValues,
                                     PropertyListSerialization::kMaximumBytes,
                                     PropertyListSerialization::kMaximumKeySearch };
    const bool binary = isBinary(data);
    const std::string_view document(reinterpret_cast<const char*>(data.data()), data.size());
    const auto shape =
        binary ? PropertyListBinaryScan::shape(data, limits) : PropertyListXMLScan::shape(document, limits);
    if (!shape) {
        throw notAPropertyList(data, binary ? "binary " : "");
    }
    if (shape->depth > limits.depth) {
        throw tooDeep();
    }
    if (shape->values > limits.values) {
        throw tooLarge(std::to_string(limits.values) + " values");
    }
    if (shape->bytes > limits.bytes) {
        throw tooLarge(std::to_string(limits.bytes) + " bytes of text, data and keys");
    }
    if (shape->keySearch > limits.keySearch) {
        throw PropertyListError("PropertyListSerialization: the property list's dictionaries hold so many keys, "
                                "so long, that reading them would take too long");
    }
}

} // namespace

Data PropertyListSerialization::data(const PropertyListValue& value)
{
    const Node node = toNode(value);
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(node.get(), &xml, &length);
    if (xml == nullptr) {
        throw PropertyListError("PropertyListSerialization: the value could not be written");
    }
    const std::unique_ptr<char, MallocDeleter> owned(xml);
    Data written(reinterpret_cast<const std::uint8_t*>(xml), reinterpret_cast<const std::uint8_t*>(xml) + length);
    // The writer turns each "&", "<" and ">" into a reference: a list the
    // reader would refuse is not written, so that it never replaces one that
    // can be read.
    checkShape(written);
    return written;
}

PropertyListValue PropertyListSerialization::propertyList(const Data& data)
{
    if (data.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw PropertyListError("PropertyListSerialization: the data is too large (" +
                                std::to_string(data.size()) + " bytes)");
    }
    checkShape(data);
    plist_t root = nullptr;
    plist_from_memory(reinterpret_cast<const char*>(data.data()),
                      static_cast<std::uint32_t>(data.size()), &root);
    if (root == nullptr) {
        throw notAPropertyList(data, "");
    }
    const Node node(root);
    return fromNode(node.get(), 0);
}
