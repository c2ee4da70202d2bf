#pragma once

#include <filesystem>
#include <optional>
#include <string>

// A plug-in's shared object checked against its own ELF headers before the
// loader maps it: the loader trusts those headers, so a file cut short (an
// interrupted copy) would fault the loading process on the first page it
// touches past the file's end.
class SharedObjectFile {
public:
    // Why the file at `path` must not be loaded, as a line fit for a log, or
    // none: it is refused when it is no regular file (FileHandle's rules), no
    // ELF shared object, built for another class, byte order or machine than
    // the loading program, or shorter than its program headers, the file range
    // of any loadable segment that holds file bytes, the file page of one that
    // holds none at an address off a page boundary, or its section headers
    // reach; or when its loadable segments, in whole pages as the loader maps
    // them, overlap or are out of address order.
    static std::optional<std::string> defect(const std::filesystem::path& path);
};
