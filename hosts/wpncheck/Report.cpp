/* Check lines on stdout, flushed at once so that a crash inside a plug-in
 * still leaves every line written before it. */
#include "Report.h"

#include <stdarg.h>
#include <stdio.h>

Report Out;
const char *volatile Stage = "start";

bool Report::SeenBefore(Verdict verdict, const std::string &check, const std::string &text) const
{
    for (const Seen &seen : first_)
        if (seen.verdict == verdict && seen.check == check && (text.empty() || seen.text == text))
            return true;
    return false;
}

void Report::Line(Verdict verdict, const char *check, const char *format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::string line = text;
    if (!reload_) {
        first_.push_back({verdict, check, line});
    } else {
        if (verdict == Verdict::Skip && SeenBefore(Verdict::Pass, check, "")) {
            verdict = Verdict::Fail;
            line += " (it passed in the first cycle: mend what stops it in the reload, named above)";
        }
        if (SeenBefore(verdict, check, line))
            return;
    }
    const char *word = "PASS";
    switch (verdict) {
    case Verdict::Pass: ++passed_; break;
    case Verdict::Warn: ++warned_; word = "WARN"; break;
    case Verdict::Fail: ++failed_; ++recentFailures_; word = "FAIL"; break;
    case Verdict::Skip: ++skipped_; word = "SKIP"; break;
    }
    printf("%s %s%s: %s\n", word, prefix_, check, line.c_str());
    fflush(stdout);
}

void Report::StartReload(const char *prefix)
{
    reload_ = true;
    prefix_ = prefix;
}

void Report::EndReload()
{
    reload_ = false;
    prefix_ = "";
}

int Report::TakeFailures()
{
    int n = recentFailures_;
    recentFailures_ = 0;
    return n;
}

void Report::PrintSummary() const
{
    printf("== %d checks: %d passed, %d warned, %d failed, %d skipped: %s\n",
           passed_ + warned_ + failed_ + skipped_, passed_, warned_, failed_, skipped_,
           failed_ ? "FAIL" : "PASS");
    fflush(stdout);
}
