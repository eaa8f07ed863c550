#pragma once
// The program's static objects beside the installation context.
#include "acad/release_catalog.h"

class CWizardApp;

extern CWizardApp theApp;
// What discovery found: read by the release page, used by the install page.
extern CAcadReleaseCatalog theCatalog;
