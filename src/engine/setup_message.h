#pragma once
// A message box of the setup program: its caption, owned by its main window.
#include <string>

#include "engine/install_texts.h"
#include "platform/services.h"

namespace vk {

inline int SetupMessage(const Services& services, const std::string& text, unsigned type) {
    return services.prompts.MessageBox(services.prompts.MainWindow(), text, kSetupCaption, type);
}

}  // namespace vk
