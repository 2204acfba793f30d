/* The one description of a failed load, shared by every host and checker:
 * wpncheck prints it as its verdict and adds what to change, wpnhost and
 * the benchmarks print it as their reason, bridgecheck quotes it. */
#include "PanelLoader.h"

#include "PeImage.h" // MachineName

#include <stdio.h>

LoadFailureText DescribeLoadFailure(const LoadFailure &failure)
{
    LoadFailureText out = {};
    const size_t size = sizeof out.Text;
    const unsigned long seen = failure.Seen;
    switch (failure.Step) {
    case LoadStep::None:
        snprintf(out.Text, size, "loaded");
        break;
    case LoadStep::File:
        snprintf(out.Text, size, "no such file");
        break;
    case LoadStep::Machine:
        snprintf(out.Text, size, "a %s module, which a 32-bit host cannot load: build it for 32-bit x86",
                 MachineName((uint16_t)seen).c_str());
        break;
    case LoadStep::Module:
        snprintf(out.Text, size, "not a loadable 32-bit DLL (error %lu)", seen);
        break;
    case LoadStep::Exports:
        snprintf(out.Text, size, "missing %s%s%s", failure.Missing & MISSING_INFO ? WPN_EXPORT_INFO : "",
                 failure.Missing == (MISSING_INFO | MISSING_INITIALIZE) ? " and " : "",
                 failure.Missing & MISSING_INITIALIZE ? WPN_EXPORT_INITIALIZE : "");
        break;
    case LoadStep::Info:
        snprintf(out.Text, size, "0x%04lX has low byte 0x%02lX, must be 0x01", seen, seen & 0xFF);
        break;
    case LoadStep::Initialise:
        snprintf(out.Text, size, "WPN_Initialize returned %ld, must be 0", (long)(int32_t)failure.Seen);
        break;
    }
    return out;
}
