#pragma once
// A log that keeps its lines for a test to read.
#include <string>
#include <vector>

#include "platform/log.h"

namespace vk::memory {

class MemoryLog : public Log {
public:
    const std::vector<std::string>& Lines() const { return lines_; }
    // The lines that contain `text`.
    std::vector<std::string> LinesWith(const std::string& text) const;

protected:
    void WriteLine(const std::string& line) override { lines_.push_back(line); }
    std::string ErrorText(OsResult error) override { return "error " + std::to_string(error); }

private:
    std::vector<std::string> lines_;
};

}  // namespace vk::memory
