#pragma once
// A progress bar the installation steps (the install page's bar).
namespace vk {

class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void Step() = 0;  // PBM_STEPIT
};

}  // namespace vk
