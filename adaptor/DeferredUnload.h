/* Letting go of a plug-in module: at once when nothing of it can run, and
 * otherwise later. An owner let go while code of its module could still run
 * is set aside; each later entry into the adaptor (a host call, a tick, the
 * end of a call into a plug-in) tries it again, and when no call is under
 * way to do so, a thread timer of the adaptor's own does. A module that can
 * never be shown safe stays loaded: a leak, never a crash.
 *
 * The timer's procedure is this module's code, so while the timer may fire
 * the module holds a reference on itself. It gives that back only where it
 * can see that the host still holds the module: inside a call from the host,
 * or while the live instance has references of the host's. Otherwise it
 * keeps it, and this module stays loaded until the process ends. */
#pragma once
#include <stdint.h>

class PluginModule;

/* Gives the owner's module back now if PluginModule::Unloadable says so, and
 * deletes the owner; otherwise sets it aside. `from`: the entry's frame. */
void LetGo(PluginModule *owner, uintptr_t from);

/* Tries every owner set aside once more (see CatchUp for fromHost). */
void RetrySetAside(uintptr_t from, bool fromHost);
