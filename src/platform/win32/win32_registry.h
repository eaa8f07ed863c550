#pragma once
// The registry through the ANSI registry functions of ADVAPI32 (and the wide
// ones for texts), in the process's own view (no WOW64 view flags). A
// RegHandle is the HKEY itself.
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
