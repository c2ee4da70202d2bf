#pragma once

#include "URL.h"

#include <optional>

// A request to load a URL, with the default cache policy and time-out.
class URLRequest {
public:
    static constexpr double kDefaultTimeoutInterval = 60.0;

    explicit URLRequest(std::optional<URL> url) : url_(std::move(url)) {}

    const std::optional<URL>& url() const { return url_; }
    double timeoutInterval() const { return kDefaultTimeoutInterval; }

private:
    std::optional<URL> url_;
};
