#include "CPrinTable.h"

#include <cstring>

namespace DUD {

namespace {

constexpr const char* kControlNames[32] = {
    "<NUL>", "<SOH>", "<STX>", "<ETX>", "<EOT>", "<ENQ>", "<ACK>", "<BEL>",
    "<BS>",  "\t",    "\n",    "<VT>",  "<FF>",  "\r",    "<SO>",  "<SI>",
    "<DLE>", "<DC1>", "<DC2>", "<DC3>", "<DC4>", "<NAK>", "<SYN>", "<ETB>",
    "<CAN>", "<EM>",  "<SUB>", "<ESC>", "<FS>",  "<GS>",  "<RS>",  "<US>",
};

} // namespace

CPrinTable::CPrinTable() : names{}
{
    for (int code = 0; code < kCodes; ++code) {
        if (code < 32)
            std::strcpy(names[code], kControlNames[code]);
        else if (code == 127)
            std::strcpy(names[code], "<DEL>");
        else
            names[code][0] = static_cast<char>(code);
        entries[code] = names[code];
    }
}

const char* CPrinTable::operator[](int code) const
{
    if (code < 0 || code >= kCodes)
        return nullptr;
    return entries[code];
}

} // namespace DUD
