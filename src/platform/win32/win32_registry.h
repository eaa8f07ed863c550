#pragma once
// The registry through the wide registry functions of ADVAPI32, in the
// process's own view (no WOW64 view flags). Names and ANSI data are GBK,
// converted with code page 936 whatever the machine's: the answers are those
// of the ANSI functions on a Chinese Windows. A name read from the registry
// that GBK cannot hold is refused (kErrNotGbk), never turned into another
// name. A RegHandle is the HKEY itself.
#include "platform/registry.h"

namespace vk::win32 {

class Win32Registry : public IRegistry {
public:
    OsResult OpenRoot(RegRoot root, RegHandle& key) override;
    OsResult OpenKey(RegHandle parent, const std::string& path, RegHandle& key) override;
    OsResult OpenKeyForRead(RegHandle parent, const std::string& subKey, RegHandle& key) override;
    OsResult CreateKey(RegHandle parent, const std::string& path, RegHandle& key) override;
    OsResult QuerySubkeyCount(RegHandle key, std::uint32_t& count) override;
    OsResult EnumSubkey(RegHandle key, std::uint32_t index, std::string& name) override;
    OsResult QueryValue(RegHandle key, const std::string& name, std::size_t bufferSize,
                        std::vector<std::uint8_t>& data, std::uint32_t& type) override;
    OsResult QueryValueSize(RegHandle key, const std::string& name, std::size_t& size) override;
    OsResult SetDword(RegHandle key, const std::string& name, std::uint32_t value) override;
    OsResult SetString(RegHandle key, const std::string& name, const std::string& text) override;
    OsResult QueryTextSize(RegHandle key, const std::string& name, std::size_t& size) override;
    OsResult QueryText(RegHandle key, const std::string& name, std::size_t bufferSize,
                       std::u16string& text, std::uint32_t& type) override;
    OsResult SetText(RegHandle key, const std::string& name, std::uint32_t type,
                     const std::u16string& text) override;
    OsResult SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                      const std::vector<std::uint8_t>& data) override;
    OsResult DeleteValue(RegHandle key, const std::string& name) override;
    OsResult EnumValueName(RegHandle key, std::uint32_t index, std::string& name) override;
    OsResult DeleteKey(RegHandle parent, const std::string& path) override;
    OsResult CloseKey(RegHandle key) override;
};

}  // namespace vk::win32
