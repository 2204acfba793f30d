/* What the art tool tells an author: one line per finding, as compilers and
 * linters write them, "FILE:LINE: error: message" (or "warning"), in the
 * order of the lines. */
#pragma once
#include <stdio.h>
#include <string>
#include <vector>

struct Finding {
    int Line; // 1-based; 0 for the file as a whole
    bool Error;
    std::string Message;
};

class Findings {
public:
    void Error(int line, const std::string &message) { list_.push_back({line, true, message}); }
    void Warning(int line, const std::string &message) { list_.push_back({line, false, message}); }
    int Errors() const;
    int Warnings() const;
    /* Prints every finding, sorted by line, for the file named `file`. */
    void Print(FILE *out, const std::string &file) const;

private:
    std::vector<Finding> list_;
};

/* printf into a std::string. */
std::string Format(const char *format, ...);
