#pragma once

// Formats value in decimal into buf (at most len bytes with the terminator);
// with a null buf into a 128-byte buffer of the calling thread. Returns the
// text, or " " when it does not fit or cannot be formatted.
const char* itoa(int value, char* buf, int len);
