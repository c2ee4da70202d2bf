#pragma once

#include "Data.h"
#include "URL.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

enum class SearchPathDirectory { documentDirectory };
enum class SearchPathDomainMask { userDomainMask };

// A failed file operation; what() is a description fit for a log line.
class FileManagerError : public std::runtime_error {
public:
    explicit FileManagerError(const std::string& description, int code = 0)
        : std::runtime_error(description), code_(code) {}
    // The failure to read the file at `path`, and why.
    static FileManagerError reading(const std::string& path, const std::string& reason);
    // The failure to read the file at `path` with the system's error `code`.
    static FileManagerError reading(const std::string& path, int code);
    std::string localizedDescription() const { return what(); }
    // The system's error number (errno) when a call to the system failed; 0
    // when the path itself is refused: it names no regular file, a file too
    // large, or holds a NUL character.
    int code() const { return code_; }

private:
    int code_;
};

// Files and well-known folders. Each program has a container folder standing
// in for its sandbox: $XDG_DATA_HOME (default ~/.local/share) / the bundle
// name; its documents directory is "Documents" inside it.
class FileManager {
public:
    static FileManager& default_();

    // The documents directory (created when missing), or none when neither
    // $XDG_DATA_HOME nor $HOME names an absolute folder.
    std::vector<URL> urls(SearchPathDirectory directory, SearchPathDomainMask domain) const;

    bool fileExists(const std::string& path) const;
    bool fileExists(const std::string& path, bool& isDirectory) const;

    // Creates the directory; throws FileManagerError when it cannot.
    void createDirectory(const URL& url, bool withIntermediateDirectories) const;

    // The names of the folder's entries, in no particular order; throws
    // FileManagerError when the folder cannot be listed.
    std::vector<std::string> contentsOfDirectory(const std::string& path) const;
    // Far above any preset or settings file.
    static constexpr std::uint64_t kMaximumContentSize = 64 * 1024 * 1024;

    // The whole content of a regular file, opened as FileHandle opens files
    // for reading. Throws FileManagerError, saying why, when FileHandle
    // refuses the path, the file is larger than kMaximumContentSize or it
    // cannot be read.
    Data contents(const std::string& path) const;
    // Writes data to the file atomically: it is written beside the target and
    // moved over it, so the target holds either its old or all of its new
    // content. The new file keeps the mode of the one it replaces, and its
    // owner and group where the process may give them; a file that was not
    // there is made 0644. Being a new file, it parts from any hard link to the
    // old one, which keeps the old content. Throws FileManagerError when it
    // cannot.
    void write(const Data& data, const URL& url) const;
    // The same for the file at `path` as the system takes it: a ".." after a
    // linked folder leads out of the folder the link leads to.
    void write(const Data& data, const std::string& path) const;
    // The path that `path` leads to through symbolic links: each link is
    // followed, a relative one from its own folder, up to a path that is no
    // link and need not exist. Throws FileManagerError when the links loop,
    // a link cannot be read, or a path on the way cannot be looked at for any
    // reason other than that nothing is there.
    std::string destinationOfSymbolicLinks(const std::string& path) const;
};
