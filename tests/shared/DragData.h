#pragma once
// Data being dragged, as the shell offers it, for tests that drop on a control's OLE drop target
// without a real drag: the Win32 tests and the end-to-end probe that drops inside the program.

#include <windows.h>
// DROPFILES, the header of a shell file list.
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

namespace dragdata {

// A shell file list in a global memory block, as the shell hands it over: DROPFILES, then the
// wide paths, each ended by a null, and one more null.
inline HGLOBAL FileList(const std::vector<std::wstring>& paths) {
    size_t characters = 1;
    for (const std::wstring& path : paths) characters += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& path : paths) {
        std::copy(path.begin(), path.end(), text);
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

inline HGLOBAL Text(const std::wstring& text) {
    HGLOBAL memory = GlobalAlloc(GHND, (text.size() + 1) * sizeof(wchar_t));
    std::copy(text.begin(), text.end(), static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    return memory;
}

// Data being dragged, in one clipboard format.
class DragData final : public IDataObject {
public:
    DragData(CLIPFORMAT format, HGLOBAL memory) : format_(format), memory_(memory) {}
    ~DragData() { GlobalFree(memory_); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDataObject)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the caller's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        // The receiver releases its copy.
        const SIZE_T size = GlobalSize(memory_);
        HGLOBAL copy = GlobalAlloc(GHND, size);
        CopyMemory(GlobalLock(copy), GlobalLock(memory_), size);
        GlobalUnlock(memory_);
        GlobalUnlock(copy);
        *medium = {};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        if (releaser_) {
            releaser_->AddRef();
            medium->pUnkForRelease = releaser_;
        }
        return S_OK;
    }
    // The receiver's ReleaseStgMedium then releases this object instead of freeing the copy,
    // so that a test can count the releases.
    void releaseThrough(IUnknown* releaser) { releaser_ = releaser; }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                              : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    CLIPFORMAT format_;
    HGLOBAL memory_;
    IUnknown* releaser_ = nullptr;
};

}  // namespace dragdata
