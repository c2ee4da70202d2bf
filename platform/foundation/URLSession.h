#pragma once

#include "Data.h"
#include "URL.h"

#include <optional>
#include <string>

// Loads the content of URLs. This system has no network: file URLs are read
// from disk, every other scheme fails at once with an error (never waits).
class URLSession {
public:
    struct Response {
        std::optional<Data> data;      // none when the load failed
        std::optional<int> statusCode; // set for HTTP responses only
        std::string errorDescription;  // why the load failed
    };

    static URLSession& shared();

    // Loads synchronously on the calling thread.
    Response data(const URL& url) const;
};
