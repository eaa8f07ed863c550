#pragma once
// What the install-action tests need of the real machine under Wine: the
// system services with prompts the test answers, files and folders made and
// removed again, and AutoCAD stand-ins started under AutoCAD's names.
#include "platform/win32/windows_api.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace vk::systest {

// Message boxes answered by the test and recorded, never shown: a real box
// would wait for a person.
class AnsweringPrompts : public IPrompts {
public:
    WindowRef MainWindow() override { return 0; }
    int MessageBox(WindowRef, const std::string& text, const std::string&, unsigned) override {
        texts.push_back(text);
        return answer;
    }
    int answer = kIdAbort;
    std::vector<std::string> texts;
};

// The Win32 services of the process, with `prompts` in place of real boxes.
Services SystemServicesWith(IPrompts& prompts);

std::string ProgramFolder();  // the folder of the running test program
std::string AppDataFolder();  // %APPDATA%
bool IsFolder(const std::string& path);
bool WriteFileText(const std::string& path, const std::string& content,
                   DWORD attributes = FILE_ATTRIBUTE_NORMAL);
std::optional<std::string> ReadFileText(const std::string& path);
// Removes a file, or a folder with everything in it, read-only or not.
void RemoveTree(const std::string& path);

// Paths a test creates, removed (with what is in them) when it ends, last first.
class Cleanup {
public:
    Cleanup() = default;
    Cleanup(const Cleanup&) = delete;
    Cleanup& operator=(const Cleanup&) = delete;
    ~Cleanup();
    // Creates the folder and its missing parents; each one created is removed later.
    bool MakeFolders(const std::string& path);
    void Add(const std::string& path) { paths_.push_back(path); }

private:
    std::vector<std::string> paths_;
};

// A copy of the AutoCAD stand-in, named `fileName`, running until this ends.
class StandIn {
public:
    StandIn(const std::string& folder, const std::string& fileName);
    ~StandIn();
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;
    bool Running() const { return process_ != nullptr; }

private:
    std::string path_;
    HANDLE process_ = nullptr;
};

}  // namespace vk::systest
