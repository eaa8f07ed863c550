#pragma once
// Which account the setup runs under.
namespace vk::win32 {

// True under LocalSystem, as deployment tools (Intune, Configuration
// Manager) run installers. Its profile belongs to no AutoCAD user.
bool RunsAsLocalSystem();

}  // namespace vk::win32
