#pragma once

namespace DUD {

// Printable names of the 128 ASCII codes: the control codes as "<NUL>",
// "<SOH>", ... (tab, line feed and carriage return stand for themselves),
// the printable codes as their own character and 127 as "<DEL>".
class CPrinTable {
public:
    CPrinTable();
    // The entries point into this table's own name slots.
    CPrinTable(const CPrinTable&) = delete;
    CPrinTable& operator=(const CPrinTable&) = delete;

    // The name of an ASCII code, or null for a code outside 0..127.
    const char* operator[](int code) const;

private:
    static constexpr int kCodes = 128;
    static constexpr int kSlotSize = 6;

    const char* entries[kCodes];
    char names[kCodes][kSlotSize];
};

} // namespace DUD
