// The installation engine, timed: the folders, the deployment of Data, the
// demand-load and trusted-path registrations and the support files, over the
// system's services, on a machine seeded here with one AutoCAD 2018 and
// removed after. The program must lie beside the Data folder it deploys. The
// page's progress bar is not part of it: the steps go to a clock that tells
// the parts apart. File calls pass through a timer (well under 1 µs each), so
// that the file system's share can be told apart.
// Usage: bench_install.exe <chosen folder> <AutoCAD folder> <round>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "acad/release_catalog.h"
#include "common/bench_clock.h"
#include "common/bench_samples.h"
#include "engine/file_ops.h"
#include "engine/installation.h"
#include "engine/plan.h"
#include "install/timed_file_system.h"
#include "platform/win32/system_services.h"
#include "registry/registry_seed.h"

namespace {

constexpr int kYear = 2018;

// The time of each step of the progress: the engine steps once after the
// deployment, the registrations and the support files.
class StepClock final : public vk::IProgress {
public:
    void Step() override { at.push_back(vk::bench::NowMs()); }
    std::vector<double> at;
};

int Fail(const char* why) {
    std::fprintf(stderr, "bench_install: %s\n", why);
    return 1;
}

bool IsFile(const vk::Services& services, const std::string& path) {
    return vk::GetPathKind(services.files, path) == vk::kPathFile;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return Fail("usage: bench_install.exe <chosen folder> <AutoCAD folder> <round>");
    const std::string chosen = argv[1];
    const std::string acad = argv[2];
    const int round = std::atoi(argv[3]);
    const vk::Services& system = vk::win32::SystemServices();
    vk::bench::TimedFileSystem files(system.files);
    const vk::Services services{system.registry, files,      system.processes, system.prompts,
                                system.codePage, system.log, system.random};
    if (!vk::bench::RegistryIsClean(services.registry))
        return 2;

    vk::bench::SeedScope machine(services.registry, vk::RegRoot::LocalMachine);
    vk::bench::SeedScope user(services.registry, vk::RegRoot::CurrentUser);
    vk::bench::SeedProduct(services.registry,
                           {vk::bench::ReleaseKeyOfYear(kYear), "ACAD-1001:804", kYear, acad});
    vk::bench::SeedProfiles(services.registry, 2, 10);
    CAcadReleaseCatalog catalog(services);
    catalog.DiscoverReleases();  // start-up's part, not the installation's

    StepClock progress;
    files.Reset();
    const double start = vk::bench::NowMs();
    // As every front end: the plan, then the installation.
    vk::InstallChoices choices{chosen, std::vector<int>{kYear}, {kYear}, {}, true, {}};
    const auto planned = vk::PlanInstallation(services, choices);
    if (const auto* refusal = std::get_if<vk::Refusal>(&planned))
        return Fail(("the plan was refused: " + refusal->reason).c_str());
    const vk::InstallPlan& plan = std::get<vk::InstallPlan>(planned);
    vk::InstallRequest request{plan.folder, plan.selected, &progress};
    const vk::InstallOutcome outcome = vk::RunInstallation(services, catalog, request);
    const double end = vk::bench::NowMs();
    const std::string installDir = outcome.installDir;
    if (progress.at.size() < 3)
        return Fail("the installation stopped before its registrations");
    const double deployedAt = progress.at[progress.at.size() - 3];
    const double registeredAt = progress.at[progress.at.size() - 2];
    const double fileMs = files.TotalMs();  // before the checks below add their own calls
    const auto operations = files.Operations();

    if (outcome.result != vk::InstallResult::Completed ||
        !IsFile(services, installDir + "\\itextsharp.dll") ||
        !IsFile(services, acad + "\\Fonts\\Varnok_HZ.shx")) {
        return Fail("the installation did not put the files in place");
    }
    vk::bench::PrintSample("install.ms", round, end - start);
    // Its parts, to tell where a difference to the bare copy comes from.
    vk::bench::PrintSample("install_deploy.ms", round, deployedAt - start);
    vk::bench::PrintSample("install_register.ms", round, registeredAt - deployedAt);
    vk::bench::PrintSample("install_support.ms", round, end - registeredAt);
    vk::bench::PrintSample("install_files.ms", round, fileMs);
    vk::bench::PrintSample("install_rest.ms", round, end - start - fileMs);
    for (const auto& [operation, totals] : operations) {
        vk::bench::PrintSample("install_file_calls." + operation + ".ms", round, totals.ms);
        vk::bench::PrintSample("install_file_calls." + operation + ".calls", round, totals.calls);
    }
    return 0;
}
