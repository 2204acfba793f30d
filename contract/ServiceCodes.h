/* Every service code of Request, once: its name, and which of its two
 * arguments it reads or writes through as a pointer. Hosts look codes up
 * here to guard against null pointers and to name what a plug-in asked;
 * the codes themselves are the contract header's. C++ only: a plug-in needs
 * none of it. */
#pragma once
#include "WpnContract.h"

struct ServiceCode {
    uint32_t Code;
    const char *Name;
    bool ValueIsPointer; // value is an address the host writes a number to
    bool OutIsPointer;   // out is a text or an address the host reads or writes
    // The result the contract fixes whatever happens (SVC_OPEN, SVC_OPEN_INDEX),
    // or NO_FIXED_RESULT when the result tells how it went.
    uint32_t FixedResult;
};

enum : uint32_t { NO_FIXED_RESULT = 0xFFFFFFFFu };

constexpr ServiceCode ServiceCodes[] = {
    {SVC_VERSION, "SVC_VERSION", true, false, NO_FIXED_RESULT},
    {SVC_ITEM_COUNT, "SVC_ITEM_COUNT", true, false, NO_FIXED_RESULT},
    {SVC_ITEM_VALUE, "SVC_ITEM_VALUE", false, true, NO_FIXED_RESULT},
    {SVC_ITEM_SET_TEXT, "SVC_ITEM_SET_TEXT", false, true, NO_FIXED_RESULT},
    {SVC_OPEN, "SVC_OPEN", false, true, SVC_UNKNOWN},
    {SVC_ITEM_OP_A, "SVC_ITEM_OP_A", false, false, NO_FIXED_RESULT},
    {SVC_ITEM_TEXT_A, "SVC_ITEM_TEXT_A", false, true, NO_FIXED_RESULT},
    {SVC_ITEM_TEXT_B, "SVC_ITEM_TEXT_B", false, true, NO_FIXED_RESULT},
    {SVC_CURRENT_INDEX, "SVC_CURRENT_INDEX", true, false, NO_FIXED_RESULT},
    {SVC_ITEM_OP_B, "SVC_ITEM_OP_B", false, false, SVC_OK},
    {SVC_OPEN_INDEX, "SVC_OPEN_INDEX", true, true, SVC_OK},
    {SVC_ITEM_VALUE_B, "SVC_ITEM_VALUE_B", false, true, NO_FIXED_RESULT},
    {SVC_FOLDER, "SVC_FOLDER", false, true, NO_FIXED_RESULT},
};

/* The row of code, or null for a code the contract does not name (every
 * such code answers SVC_UNKNOWN). */
inline const ServiceCode *FindServiceCode(uint32_t code)
{
    for (const ServiceCode &row : ServiceCodes)
        if (row.Code == code)
            return &row;
    return nullptr;
}
