#include "acad/release_catalog.h"

CAcadReleaseCatalog::CAcadReleaseCatalog(const vk::Services& services)
    : m_strSearchValue("AcadLocation"), m_services(services) {}
