#include "Itoa.h"

#include <cstdio>

const char* itoa(int value, char* buf, int len) {
    thread_local char fallback[128];
    if (buf == nullptr) {
        buf = fallback;
        len = sizeof fallback;
    }
    if (len <= 0) {
        return " ";
    }
    const int written = std::snprintf(buf, static_cast<std::size_t>(len), "%d", value);
    return written >= 0 && written < len ? buf : " ";
}
