#include "core/folder_path_rules.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/mbcs.h"

namespace {

constexpr std::string_view kForbidden = "\"*/:<>?\\|";

bool IsBlankOrDot(char c) {
    return c == '\t' || c == ' ' || c == '.';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool PathExists(vk::IFileSystem& files, const std::string& path) {
    return files.GetAttributes(path) != vk::kInvalidAttributes;
}

std::string FolderMessage(const std::string& path, const char* tail) {
    return "The folder:\n\n" + path + "\n\n" + tail;
}

}  // namespace

bool vk::HoldsListSeparator(const std::string& path) {
    // Byte by byte: 0x3B is never a trail byte, so after a lead byte that
    // lacks its trail byte it is still the separator, as the wide list shows it.
    return path.find(';') != std::string::npos;
}

bool IsValidFolderName(const vk::ICodePage& codePage, const std::string& name) {
    if (name.empty())
        return false;
    const std::vector<std::size_t> starts = vk::CharacterStarts(codePage, name);
    // A single-byte character at the start or end; double-byte ones never match.
    auto singleByteAt = [&](std::size_t at) {
        return !codePage.IsLeadByte(static_cast<unsigned char>(name[at])) || at + 1 == name.size();
    };
    if (singleByteAt(starts.front()) && IsBlankOrDot(name[starts.front()]))
        return false;
    if (singleByteAt(starts.back()) && IsBlankOrDot(name[starts.back()]))
        return false;
    for (std::size_t at : starts) {
        if (singleByteAt(at) && kForbidden.find(name[at]) != std::string_view::npos)
            return false;
    }
    // Windows refuses control characters in a name, and a NUL ends the path
    // for every function it is given to. Byte by byte: no trail byte is one,
    // so one after a lead byte is the lead byte's end, not its trail.
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

int CreateFolderPath(const vk::Services& services, const std::string& path, bool validateOnly,
                     std::vector<std::string>* created, const vk::FolderMaker& makeFolder) {
    // The file system takes at most 259 bytes; a longer path can never be made.
    if (path.size() < 3 || path.size() > vk::kMaxPath - 1)
        return vk::kPathInvalid;
    if (!IsAsciiLetter(path[0]) || path[1] != ':' || path[2] != '\\')
        return vk::kPathInvalid;
    if (path.size() == 3) {
        if (validateOnly)
            return vk::kPathOk;
        return PathExists(services.files, path) ? vk::kPathOk : vk::kPathCannotCreate;
    }
    // Every folder name after the drive root, split at backslashes that are
    // characters of their own (a trail byte 0x5C belongs to its character).
    const std::vector<std::string> names = vk::SplitText(services.codePage, path.substr(3), '\\');
    std::string soFar = path.substr(0, 2);
    for (const std::string& name : names) {
        // An empty name comes from two backslashes in a row or a trailing one.
        if (!IsValidFolderName(services.codePage, name))
            return vk::kPathInvalid;
        soFar += '\\';
        soFar += name;
        if (!validateOnly) {
            // An existing folder fails harmlessly.
            const vk::OsResult made =
                makeFolder ? makeFolder(soFar) : services.files.CreateFolder(soFar);
            if (made == vk::kOk && created != nullptr)
                created->push_back(soFar);
            if (!PathExists(services.files, soFar))
                return vk::kPathCannotCreate;
        }
    }
    return vk::kPathOk;
}

int MakeSurePathExists(const vk::Services& services, const std::string& path,
                       const std::string& caption, std::vector<std::string>* created,
                       const vk::FolderMaker& makeFolder) {
    vk::IPrompts& prompts = services.prompts;
    int result = CreateFolderPath(services, path, true);
    if (result == vk::kPathOk) {
        if (PathExists(services.files, path))
            return vk::kPathOk;
        const std::string question =
            FolderMessage(path, "does not exist. Do you want the folder to be created?");
        if (prompts.MessageBox(prompts.MainWindow(), question, caption,
                               vk::kMbYesNo | vk::kMbIconQuestion) != vk::kIdYes) {
            return vk::kPathDeclined;
        }
        result = CreateFolderPath(services, path, false, created, makeFolder);
        if (result == vk::kPathOk)
            return vk::kPathOk;
    }
    const char* tail = result == vk::kPathInvalid ? "is invalid. Please reenter."
                                                  : "can not be created. Please double check.";
    prompts.MessageBox(prompts.MainWindow(), FolderMessage(path, tail), caption,
                       vk::kMbOk | vk::kMbIconExclamation);
    return result;
}
