/* The host services behind the panel contract: the five functions placed in
 * every instance's host record. They keep no state and serve every instance
 * alike from the newer host's application object. */
#pragma once
#include "WpnContract.h"

uint32_t WPN_CALL ServiceRequest(uint32_t code, uintptr_t value, uintptr_t out);
uint32_t WPN_CALL ServiceReserved(uint32_t, uint32_t, uint32_t);
void *WPN_CALL ServiceAlloc(uint32_t size);
uint32_t WPN_CALL ServiceFree(void *block);
int32_t WPN_CALL ServiceShowMessage(const char *text, uint32_t type);
