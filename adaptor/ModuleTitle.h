/* The module's file title, from which the panel's identifier, name, icon
 * path and plug-in file are named. */
#pragma once
#include "AdaptorState.h"

/* Recomputes Module.Title from the module's own file name. */
void ComputeModuleTitle();
