#include "platform/win32/Win32DropTarget.h"

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Wide.h"

namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool OffersFiles(IDataObject* data) {
    FORMATETC format = FileListFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

}  // namespace

std::vector<std::string> DroppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(static_cast<size_t>(length) + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(copied);
        paths.push_back(ToUtf8(path));
    }
    return paths;
}

Win32DropTarget* Win32DropTarget::create(Handler handler) {
    return new Win32DropTarget(std::move(handler));
}

HRESULT Win32DropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Win32DropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG Win32DropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

DWORD Win32DropTarget::effectFor(DWORD allowed) const {
    if (!offersFiles_ || !handler_) return DROPEFFECT_NONE;
    // The files stay where they are: a copy when the source allows one, else a link.
    if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
    return DROPEFFECT_NONE;
}

HRESULT Win32DropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    offersFiles_ = OffersFiles(data);
    *effect = effectFor(*effect);
    return S_OK;
}

HRESULT Win32DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = effectFor(*effect);
    return S_OK;
}

HRESULT Win32DropTarget::DragLeave() {
    offersFiles_ = false;
    return S_OK;
}

HRESULT Win32DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    offersFiles_ = OffersFiles(data);
    *effect = effectFor(*effect);
    offersFiles_ = false;
    if (*effect == DROPEFFECT_NONE) return S_OK;
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    std::vector<std::string> paths;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal)
        paths = DroppedPaths(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    // Called from the system's drag loop: an exception waits for the message loop.
    Handler handler = handler_;
    Guarded([&] {
        if (handler && !paths.empty()) handler(paths);
    });
    return S_OK;
}
