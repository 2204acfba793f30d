/* The checker's output: one line per check with its verdict, counted for the
 * summary line and the exit code. The second load-and-run cycle reports
 * quietly: only its failures are printed, under a "reload" name. */
#pragma once

enum class Verdict { Pass, Warn, Fail, Skip };

class Report {
public:
    void Line(Verdict verdict, const char *check, const char *format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 4, 5)))
#endif
        ;

    /* Quiet: PASS and WARN lines are neither printed nor counted. */
    void SetQuiet(bool quiet, const char *prefix) { quiet_ = quiet; prefix_ = prefix; }
    /* Failures printed since the last call. */
    int TakeFailures();

    int Passed() const { return passed_; }
    int Warned() const { return warned_; }
    int Failed() const { return failed_; }
    int Skipped() const { return skipped_; }
    void PrintSummary() const;

private:
    bool quiet_ = false;
    const char *prefix_ = "";
    int passed_ = 0, warned_ = 0, failed_ = 0, skipped_ = 0, recentFailures_ = 0;
};

extern Report Out;

/* What the checker is doing now, for the crash and timeout lines. */
extern const char *volatile Stage;
