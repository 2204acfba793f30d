#include "Findings.h"

#include "Say.h"

#include <algorithm>
#include <stdarg.h>

int Findings::Errors() const
{
    return (int)std::count_if(list_.begin(), list_.end(), [](const Finding &f) { return f.Error; });
}

int Findings::Warnings() const
{
    return (int)list_.size() - Errors();
}

void Findings::Print(FILE *out, const std::string &file) const
{
    std::vector<Finding> sorted = list_;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Finding &a, const Finding &b) { return a.Line < b.Line; });
    for (const Finding &f : sorted)
        Say(out, "%s:%s %s: %s\n", file.c_str(), f.Line ? (std::to_string(f.Line) + ":").c_str() : "",
            f.Error ? "error" : "warning", f.Message.c_str());
}

std::string Format(const char *format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}
