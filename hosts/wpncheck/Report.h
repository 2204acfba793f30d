/* The checker's output: one line per check with its verdict, counted for the
 * summary line and the exit code. The second load-and-run cycle (the reload)
 * is held to the first: of its lines only those that differ from the first
 * cycle's are printed and counted, under a "reload: " prefix, and a check
 * that passed in the first cycle and is skipped in the reload fails. */
#pragma once
#include <string>
#include <vector>

enum class Verdict { Pass, Warn, Fail, Skip };

class Report {
public:
    void Line(Verdict verdict, const char *check, const char *format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 4, 5)))
#endif
        ;

    /* Lines from here on belong to the reload and are compared with every
     * line printed before; EndReload goes back to printing everything. */
    void StartReload(const char *prefix);
    void EndReload();
    /* Failures printed since the last call. */
    int TakeFailures();

    int Passed() const { return passed_; }
    int Warned() const { return warned_; }
    int Failed() const { return failed_; }
    int Skipped() const { return skipped_; }
    void PrintSummary() const;

private:
    struct Seen {
        Verdict verdict;
        std::string check, text;
    };
    bool SeenBefore(Verdict verdict, const std::string &check, const std::string &text) const;

    std::vector<Seen> first_; // the lines before the reload
    bool reload_ = false;
    const char *prefix_ = "";
    int passed_ = 0, warned_ = 0, failed_ = 0, skipped_ = 0, recentFailures_ = 0;
};

extern Report Out;

/* What the checker is doing now, for the crash and timeout lines. */
extern const char *volatile Stage;
