#pragma once

// The DUD container library and the objects every user of it shares.

#include "CPointerList.h"
#include "CPrinTable.h"
#include "CString.h"
#include "CStringList.h"

namespace DUD {

inline const CPrinTable PrinTable;
inline const CString invalid("null");
// One blank, not an empty string.
inline const CString empty(" ");

} // namespace DUD
