/* Control of the stand-in library by the stand-in host application and the
 * tests: fill and inspect the item list, steer the folders and the message
 * box, and read the accounting of interface references and host memory
 * blocks that are out in other modules' hands. Not part of the real
 * library's surface. */
#pragma once
#include "OstrelApi.h"

#include <stdint.h>
#include <windows.h>

/* What OIClient::OpenItem does with a newly opened item. */
enum {
    OSTREL_OPEN_APPEND = 0,   // appended to the item list (default)
    OSTREL_OPEN_DETACHED = 1, // made, but not put in the list
    OSTREL_OPEN_NOTHING = 2,  // nothing opened: null
};

/* SetCurrent index for an item that exists but is not in the list. */
#define OSTREL_CURRENT_NONE (-1)
#define OSTREL_CURRENT_DETACHED (-2)

struct OstrelItemInfo {
    uint32_t Value;
    int OpFirst;            // times the list's first item operation was applied to it
    int OpSecond;           // the same for the second operation
    int TextsSet;           // texts handed to its view
    wchar_t TextA[128];
    wchar_t TextB[128];
    wchar_t LastSetText[128];
};

struct OstrelCounters {
    int References;       // interface references handed out and not released
    int Blocks;           // host memory blocks handed out and not given back
    int BadFrees;         // blocks given back that the host never handed out
    int NullPointers;     // null pointers given to OString, OCharConv or OMisc
    int NullSecondOps;    // second item operation called with a null item
    int NullFirstOps;     // first item operation called with a null item
    int Opened;           // items opened through OIClient::OpenItem
    int MessageBoxes;     // OlxMessageBox calls
    int FontRecords;      // font records handed out
};

extern "C" {
/* Empties the list, forgets the current item, the folder overrides, the
 * open mode, the object answer, the null empty texts, the message box answer
 * and every counter
 * except the two accounts (References, Blocks), which only their owners can
 * settle. */
OSTREL_API void OstrelTestReset(void);
/* Appends an item; its index. */
OSTREL_API int OstrelTestAddItem(uint32_t value, const wchar_t *textA, const wchar_t *textB);
/* An index into the list, OSTREL_CURRENT_NONE or OSTREL_CURRENT_DETACHED. */
OSTREL_API void OstrelTestSetCurrent(int index);
OSTREL_API int OstrelTestItemCount(void);
/* False when there is no item at the index. */
OSTREL_API BOOL OstrelTestGetItem(int index, struct OstrelItemInfo *info);
/* Index of the current item, -1 when none, -2 when not in the list. */
OSTREL_API int OstrelTestCurrent(void);
OSTREL_API void OstrelTestSetOpenMode(int mode);
/* Text and flags of the last OpenItem call. */
OSTREL_API uint32_t OstrelTestLastOpen(wchar_t *text, int capacity);
/* Makes folder kind answer with text instead of its usual folder; a null
 * text makes the host answer with no text at all. */
OSTREL_API void OstrelTestSetFolder(int kind, const wchar_t *text);
/* True: OIClient::GetHostObject still hands out its object but answers
 * false, as a host library need not answer true. */
OSTREL_API void OstrelTestSetObjectAnswersFalse(BOOL on);
/* True: an empty OString holds a null text and OCharConv converts an empty
 * text to null, as a host library may; the stand-in otherwise gives "". */
OSTREL_API void OstrelTestSetNullEmptyTexts(BOOL on);
/* Non-zero: OlxMessageBox shows nothing and returns this answer. */
OSTREL_API void OstrelTestSetMessageBoxAnswer(int answer);
/* Text and type of the last OlxMessageBox call. */
OSTREL_API uint32_t OstrelTestLastMessage(wchar_t *text, int capacity);
OSTREL_API void OstrelTestGetCounters(struct OstrelCounters *counters);
/* The font handle the font source hands out (made on first use). */
OSTREL_API HFONT OstrelTestFont(void);
/* The host's main window: owner of message boxes. */
OSTREL_API void OstrelSetMainWindow(HWND window);
/* The root of the host folders: OSTREL_HOME, else the program's folder;
 * ends with a backslash. */
OSTREL_API void OstrelHomeFolder(wchar_t *path, int capacity);
}
