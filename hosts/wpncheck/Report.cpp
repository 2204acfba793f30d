/* Check lines on stdout, flushed at once so that a crash inside a plug-in
 * still leaves every line written before it. */
#include "Report.h"

#include <stdarg.h>
#include <stdio.h>

Report Out;
const char *volatile Stage = "start";

void Report::Line(Verdict verdict, const char *check, const char *format, ...)
{
    if (quiet_ && (verdict == Verdict::Pass || verdict == Verdict::Warn))
        return;
    const char *word = "PASS";
    switch (verdict) {
    case Verdict::Pass: ++passed_; break;
    case Verdict::Warn: ++warned_; word = "WARN"; break;
    case Verdict::Fail: ++failed_; ++recentFailures_; word = "FAIL"; break;
    case Verdict::Skip: ++skipped_; word = "SKIP"; break;
    }
    printf("%s %s%s: ", word, prefix_, check);
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    printf("\n");
    fflush(stdout);
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
