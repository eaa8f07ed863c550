#pragma once
// Owners for what the shell's folder browser hands out: the shell allocator
// (released), an item list (freed with that allocator) and the thread's COM
// apartment, which the browser needs.
#include "platform/win32/windows_api.h"

#include <objbase.h>
#include <shlobj.h>

// The shell's task allocator; empty when SHGetMalloc failed.
class CShellAllocator {
public:
    CShellAllocator() {
        if (FAILED(::SHGetMalloc(&m_pMalloc))) {
            m_pMalloc = nullptr;
        }
    }
    ~CShellAllocator() {
        if (m_pMalloc != nullptr) {
            m_pMalloc->Release();
        }
    }
    CShellAllocator(const CShellAllocator&) = delete;
    CShellAllocator& operator=(const CShellAllocator&) = delete;

    IMalloc* Get() const { return m_pMalloc; }

private:
    IMalloc* m_pMalloc = nullptr;
};

// An item list the shell allocated, freed with its allocator (which must
// outlive this owner).
class CItemIdList {
public:
    CItemIdList(IMalloc& allocator, LPITEMIDLIST pidl) : m_allocator(allocator), m_pidl(pidl) {}
    ~CItemIdList() {
        if (m_pidl != nullptr) {
            m_allocator.Free(m_pidl);
        }
    }
    CItemIdList(const CItemIdList&) = delete;
    CItemIdList& operator=(const CItemIdList&) = delete;

private:
    IMalloc& m_allocator;
    LPITEMIDLIST m_pidl;
};

// COM on this thread for as long as the owner lives, when it could be had
// (already initialised counts too, and is balanced as well).
class CComApartment {
public:
    CComApartment()
        : m_bInitialised(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~CComApartment() {
        if (m_bInitialised) {
            ::CoUninitialize();
        }
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

private:
    bool m_bInitialised;
};
