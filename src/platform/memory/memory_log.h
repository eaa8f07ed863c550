#pragma once
// A log that keeps its lines for a test to read.
#include <string>
#include <vector>

#include "platform/log.h"
#include "platform/memory/cp936_codepage.h"

namespace vk::memory {

class MemoryLog : public Log {
public:
    // Every line in ANSI (code page 936), wide ones converted as Windows would.
    const std::vector<std::string>& Lines() const { return lines_; }
    // The lines written wide, as written.
    const std::vector<std::u16string>& WideLines() const { return wideLines_; }
    // The lines that contain `text`.
    std::vector<std::string> LinesWith(const std::string& text) const;

protected:
    void WriteLine(const std::string& line) override { lines_.push_back(line); }
    void WriteWideLine(const std::u16string& line) override {
        wideLines_.push_back(line);
        lines_.push_back(Cp936CodePage().ToAnsi(line));
    }
    std::string ErrorText(OsResult error) override { return "error " + std::to_string(error); }

private:
    std::vector<std::string> lines_;
    std::vector<std::u16string> wideLines_;
};

}  // namespace vk::memory
