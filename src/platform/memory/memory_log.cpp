#include "platform/memory/memory_log.h"

namespace vk::memory {

std::vector<std::string> MemoryLog::LinesWith(const std::string& text) const {
    std::vector<std::string> found;
    for (const std::string& line : lines_) {
        if (line.find(text) != std::string::npos)
            found.push_back(line);
    }
    return found;
}

}  // namespace vk::memory
