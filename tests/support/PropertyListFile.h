#pragma once

#include "PropertyListSerialization.h"

#include <filesystem>
#include <fstream>
#include <iterator>

// The property list stored in `file`, read without any store in between.
inline PropertyListValue readPropertyListFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return PropertyListSerialization::propertyList(
        Data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}
