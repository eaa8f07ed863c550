// The static objects of SetUp.exe, constructed before WinMain in this order:
//   1. g_strInstallFolder (install_context.cpp: constructed ahead of every
//      object of default priority, destroyed after them);
//   2. theApp, which registers itself as the running application;
//   3. theCatalog, on the system's services.
// Within one translation unit C++ constructs in order of definition and
// destroys in reverse, so theCatalog goes first at exit, then theApp, and the
// install folder last.
#include "app/win/setup_objects.h"

#include "app/win/wizard_app.h"
#include "platform/win32/system_services.h"

CWizardApp theApp;
CAcadReleaseCatalog theCatalog(vk::win32::SystemServices());
