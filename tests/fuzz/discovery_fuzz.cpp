// Discovery over a registry the fuzzer builds: deep nesting, names of up to
// 255 characters, values of 0 to 65536 bytes and of any type, data with and
// without a terminating NUL, keys that cannot be opened, and one failing
// registry operation. Whatever the registry, no key stays open and the
// catalogue records only products the registry really holds.
#include <algorithm>
#include <set>

#include "acad/registry_access.h"
#include "acad/release_catalog.h"
#include "core/mbcs.h"
#include "fuzz_support.h"
#include "memory_machine.h"
#include "platform/memory/cp936_codepage.h"
#include "platform/memory/fault_injector.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_log.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_prompts.h"
#include "platform/memory/memory_random.h"
#include "platform/memory/memory_registry.h"

namespace {

using vk::memory::RegValue;

const vk::memory::Cp936CodePage kCp;
constexpr vk::RegRoot kHklm = vk::RegRoot::LocalMachine;
const std::string kNativeRoot = "SOFTWARE\\Autodesk\\AutoCAD\\";
const std::string kWowRoot = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\";
constexpr std::size_t kMaxDepth = 512;  // the registry's own nesting limit
constexpr std::size_t kMaxSteps = 400;

// Builds the registry below HKEY_LOCAL_MACHINE from the input, step by step,
// walking a current key up and down.
class RegistryBuilder {
public:
    RegistryBuilder(vk::fuzz::Input& input, vk::memory::MemoryRegistry& registry)
        : input_(input), registry_(registry) {}

    void Build() {
        Jump(input_.Byte());
        for (std::size_t step = 0; step < kMaxSteps && !input_.Empty(); ++step) {
            switch (input_.Byte() % 7) {
                case 0:
                    Enter(Name());
                    break;
                case 1:
                    if (path_.size() > base_)
                        path_.pop_back();
                    break;
                case 2:
                    SetValue();
                    break;
                case 3:
                    Jump(input_.Byte());
                    break;
                case 4:
                    registry_.DenyAccess(kHklm, Path());
                    break;
                case 5:  // a chain of keys, added at once
                    for (int level = input_.Byte(); level > 0 && path_.size() < kMaxDepth; --level)
                        path_.push_back("n" + std::to_string(level));
                    registry_.AddKey(kHklm, Path());
                    break;
                default:
                    AddProduct();
                    break;
            }
        }
    }

private:
    std::string Path() const {
        std::string path;
        for (const std::string& name : path_)
            path += (path.empty() ? "" : "\\") + name;
        return path;
    }

    void Enter(const std::string& name) {
        if (path_.size() >= kMaxDepth)
            return;
        path_.push_back(name);
        registry_.AddKey(kHklm, Path());
    }

    // Starts again at one of the AutoCAD roots (or above them).
    void Jump(std::uint8_t choice) {
        static const char* const kRoots[] = {"SOFTWARE\\Autodesk\\AutoCAD",
                                             "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD",
                                             "SOFTWARE\\Autodesk", "SOFTWARE"};
        path_ = vk::SplitText(kCp, kRoots[choice % 4], '\\');
        base_ = path_.size();
        registry_.AddKey(kHklm, Path());
    }

    // A key name as the registry allows it: 1 to 255 characters, no
    // backslash or NUL of its own (a trail byte 0x5C is part of its
    // character), and no lead byte left without its trail byte.
    std::string Name() {
        const std::uint8_t length = input_.Byte();
        std::string name = length >= 0xF0 ? std::string(255, static_cast<char>('a' + length % 26))
                                          : input_.Text(length % 40);
        std::replace(name.begin(), name.end(), '\0', '_');
        if (!name.empty()) {
            const std::size_t last = vk::CharacterStarts(kCp, name).back();
            if (last + 1 == name.size() && kCp.IsLeadByte(Byte(name, last)))
                name[last] = 'k';
        }
        for (std::size_t at : vk::CharacterStarts(kCp, name)) {
            if (name[at] == '\\')
                name[at] = '_';  // a backslash of its own would split the name
        }
        return name.empty() ? "k" : name;
    }

    static unsigned char Byte(const std::string& text, std::size_t at) {
        return static_cast<unsigned char>(text[at]);
    }

    std::vector<std::uint8_t> Data() {
        const std::uint8_t kind = input_.Byte();
        std::string text;
        switch (kind % 4) {
            case 0:
                text = input_.ShortText();
                break;
            case 1:  // a product name with a year of the table, or near it
                text = input_.Text(input_.Byte() % 16) + std::to_string(2000 + input_.Byte() % 30) +
                       input_.Text(input_.Byte() % 16);
                break;
            case 2: {  // the sizes around the 256-byte buffer, and a big one
                static const std::size_t kSizes[] = {0, 1, 255, 256, 257, 65536};
                text.assign(kSizes[(kind >> 2) % 6], static_cast<char>('A' + (kind >> 5)));
                break;
            }
            default:
                text = "C:\\Program Files\\Autodesk\\AutoCAD " + input_.ShortText();
                break;
        }
        std::vector<std::uint8_t> data(text.begin(), text.end());
        if ((kind & 0x80) != 0 && !data.empty())
            data.back() = 0;  // the same size, with its NUL
        return data;
    }

    void SetValue() {
        static const char* const kNames[] = {"AcadLocation", "ProductName", "ACADLOCATION",
                                             "productname",  "Release",     ""};
        static const std::uint32_t kTypes[] = {1, 2, 3, 4, 7, 0, 11};
        const std::uint8_t choice = input_.Byte();
        RegValue value{kTypes[(choice >> 3) % 7], Data()};
        registry_.SetRawValue(kHklm, Path(), kNames[choice % 6], std::move(value));
    }

    // A product key as AutoCAD writes it, with its two values.
    void AddProduct() {
        Enter(Name());
        const std::string year = std::to_string(2005 + input_.Byte() % 22);
        registry_.SetStringValue(kHklm, Path(), "ProductName", "AutoCAD " + year);
        registry_.SetRawValue(kHklm, Path(), "AcadLocation", RegValue{1, Data()});
        path_.pop_back();
    }

    vk::fuzz::Input& input_;
    vk::memory::MemoryRegistry& registry_;
    std::vector<std::string> path_;
    std::size_t base_ = 0;
};

// The value's text as discovery may take it, or nothing when it does not fit
// the 256-byte buffer.
std::optional<std::string> Readable(const vk::memory::MemoryRegistry& registry,
                                    const std::string& key, const char* name) {
    const std::optional<RegValue> value = registry.GetValue(kHklm, key, name);
    if (!value || value->data.size() > vk::kDiscoveryValueBuffer)
        return std::nullopt;
    return vk::TextUpToNul(value->data);
}

void CheckCatalog(const CAcadReleaseCatalog& catalog, const vk::memory::MemoryRegistry& registry) {
    std::set<std::string> keys;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        const CStringList& locations = catalog.m_arrAcadLocations[slot];
        const CStringList& productKeys = catalog.m_arrProductKeys[slot];
        FUZZ_CHECK(locations.size() == productKeys.size());
        for (std::size_t i = 0; i < productKeys.size(); ++i) {
            const std::string& key = productKeys[i];
            const bool wow = key.starts_with(kWowRoot);
            FUZZ_CHECK(wow || key.starts_with(kNativeRoot));
            FUZZ_CHECK(vk::EndsWithChar(kCp, key, '\\'));
            FUZZ_CHECK(!wow || slot <= 2009 - kFirstReleaseYear);
            FUZZ_CHECK(keys.insert(key).second);  // each product once
            // A C string in a 256-byte buffer.
            FUZZ_CHECK(locations[i].size() < vk::kDiscoveryValueBuffer);
            FUZZ_CHECK(locations[i].find('\0') == std::string::npos);

            // What the registry holds there: the location, and a name whose
            // first table year past its beginning is this slot's.
            FUZZ_CHECK(Readable(registry, key, "AcadLocation") == locations[i]);
            const std::optional<std::string> name = Readable(registry, key, "ProductName");
            FUZZ_CHECK(name.has_value());
            for (int year = kFirstReleaseYear; year <= kFirstReleaseYear + slot; ++year) {
                const std::size_t at = vk::FindText(kCp, *name, std::to_string(year));
                FUZZ_CHECK((year == kFirstReleaseYear + slot) == (at != vk::kNoPos && at > 0));
            }
        }
    }
}

using Machine = vk::fuzz::MemoryMachine;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vk::fuzz::Input input(data, size);
    const std::uint16_t failAt = input.Word();
    Machine machine;
    RegistryBuilder(input, machine.registry).Build();

    CAcadReleaseCatalog catalog(machine.services);
    catalog.DiscoverReleases();
    FUZZ_CHECK(machine.registry.OpenHandleCount() == 0);
    CheckCatalog(catalog, machine.registry);

    // The same registry again, with one operation failing.
    const std::size_t operations = machine.faults.OperationCount();
    if (failAt != 0 && operations > 0) {
        machine.faults.Reset();
        machine.faults.FailNth(1 + failAt % operations);
        CAcadReleaseCatalog faulted(machine.services);
        faulted.DiscoverReleases();
        FUZZ_CHECK(machine.faults.FailuresInjected() == 1);
        FUZZ_CHECK(machine.registry.OpenHandleCount() == 0);
        CheckCatalog(faulted, machine.registry);
    }
    return 0;
}
