// Writes the starting inputs of the fuzz targets that read what the setup
// itself writes: installation records of whole installations on the memory
// services (corpus/record/seed-*) and choices files as /SAVEINF writes them,
// beside files of Inno Setup's form (corpus/choices/seed-*). Each input is
// laid out as its target reads it: a byte of shape, then the file's bytes.
// Inputs that once broke a property are kept as corpus/<target>/regression-*
// and are left alone. Built with the native tests and run by hand after a
// change of either format:
//
//   build/native/bin/fuzz_make_seeds tests/fuzz/corpus
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "app/choices_file.h"
#include "engine/installation.h"
#include "engine/journal/record.h"
#include "sample_machine_support.h"

namespace {

using vk::test::InstallMachine;

// record_fuzz.cpp: the checks made right (bit 2) and the seal of the record
// as it is (bits 3-4: 1), for the product folder the tests install into.
constexpr char kRecordShape = 0x04 | (1 << 3);
const std::string kRecordPath = vk::test::kInstallDir + "\\" + vk::kRecordFileName;

std::string RecordOf(const InstallMachine& machine) {
    return machine.files.ReadFile(kRecordPath).value_or("");
}

// The tests' sample machine: two releases, an old font replaced, an earlier
// demand-load key, three profiles; the list of one of them short, so that a
// record fits the inputs the fuzzer makes (a few kilobytes).
std::unique_ptr<InstallMachine> Sample(int answer) {
    auto machine = vk::test::SampleMachine(answer);
    machine->SetTrustedPaths("R22.0\\ACAD-1001:804", "Other", "c:\\lib;D:\\Tools\\...");
    return machine;
}

std::map<std::string, std::string> Records() {
    std::map<std::string, std::string> records;
    {
        auto machine = Sample(vk::kIdRetry);
        vk::test::InstallAll(*machine);
        records["sample"] = RecordOf(*machine);
        // Installed again into the same folder: a second run appended.
        vk::test::InstallAll(*machine);
        records["installed-twice"] = RecordOf(*machine);
    }
    {
        // Installed, then a newer module with a copy that fails, answered
        // Abort: the second run rolled back.
        auto machine = Sample(vk::kIdAbort);
        vk::test::InstallAll(*machine);
        machine->AddDataFile("VK_BatchPlot2018.ARX", "a newer module");
        machine->faults.FailOperation("CopyFile", 1);
        vk::test::InstallAll(*machine);
        records["rolled-back"] = RecordOf(*machine);
    }
    {
        // The power cut halfway through: a run without its end.
        std::size_t operations = 0;
        {
            auto machine = Sample(vk::kIdRetry);
            vk::test::InstallAll(*machine);
            operations = machine->faults.OperationCount();
        }
        auto machine = Sample(vk::kIdRetry);
        machine->faults.CutPowerAt(operations / 2);
        try {
            vk::test::InstallAll(*machine);
        } catch (const vk::memory::PowerCut&) {
        }
        records["interrupted"] = RecordOf(*machine);
    }
    {
        // Another user signed in: trusted paths of the user's hive, by SID.
        auto machine = Sample(vk::kIdRetry);
        const std::string sid = "S-1-5-21-1004336348-1177238915-682003330-1001";
        machine->AddUser(sid, "C:\\Users\\other");
        machine->registry.SetStringValue(
            vk::RegRoot::Users,
            sid + "\\" + vk::test::VariablesKey("R22.0\\ACAD-1001:804", "Other profile"),
            "TRUSTEDPATHS", "d:\\tools");
        vk::test::InstallAll(*machine);
        records["other-user"] = RecordOf(*machine);
    }
    // As a cut run leaves it: the last line without its end.
    const std::string& sample = records["sample"];
    records["last-line-cut"] = sample.substr(0, sample.size() - 12);
    for (auto& [name, record] : records)
        record.insert(record.begin(), kRecordShape);
    return records;
}

std::map<std::string, std::string> ChoicesFiles() {
    const vk::memory::Cp936CodePage cp;
    // "D:\<software>\Varnok" in GBK.
    const std::string gbkFolder = "D:\\\xC8\xED\xBC\xFE\\Varnok";
    std::map<std::string, std::string> files = {
        {"saveinf", vk::ChoicesText(cp, "C:\\Varnok", {2018, 2021})},
        {"saveinf-gbk-folder", vk::ChoicesText(cp, gbkFolder, {2018})},
        {"saveinf-drive-root", vk::ChoicesText(cp, "D:\\", {2007, 2024, 2027})},
        {"saveinf-long", vk::ChoicesText(cp, "C:\\" + std::string(200, 'x'), {2020})},
        // Notepad's ANSI: the system's code page, no byte-order mark.
        {"ansi", "[Setup]\r\nDir=" + gbkFolder + "\r\nReleases=all\r\n"},
        // Made for an Inno Setup installation: its own keys are left alone.
        {"inno",
         "; written by hand\n[setup]\nLang=default\nDir=C:\\Program Files\\Varnok\n"
         "Group=Varnok\nNoIcons=0\nSetupType=full\nComponents=main\nTasks=\n"
         "Releases=2019\n"},
        {"blanks", "\xEF\xBB\xBF  [Setup]  \n  dir = C:\\Varnok\\ \n\n releases = 2018,2018 "},
        {"no-section", "Dir=C:\\Varnok\n"},
        {"other-section", "[Setup]\nDir=C:\\a\n[Code]\nx=1\n"},
    };
    for (auto& [name, content] : files)
        content.insert(content.begin(), '\0');
    return files;
}

bool Write(const std::filesystem::path& folder, const std::map<std::string, std::string>& seeds) {
    std::filesystem::create_directories(folder);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("seed-"))
            std::filesystem::remove(entry.path());
    }
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(folder / ("seed-" + name), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "fuzz_make_seeds: cannot write %s\n", name.c_str());
            return false;
        }
    }
    std::printf("%zu seeds in %s\n", seeds.size(), folder.string().c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds CORPUS_FOLDER (tests/fuzz/corpus)\n");
        return 2;
    }
    const std::filesystem::path corpus = argv[1];
    return Write(corpus / "record", Records()) && Write(corpus / "choices", ChoicesFiles()) ? 0 : 1;
}
