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
        paths.push_back(NameToUtf8(path));
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

namespace {

// The data a drop handed over, released once however the drop ends.
class HeldMedium {
public:
    HeldMedium() = default;
    ~HeldMedium() { release(); }
    HeldMedium(const HeldMedium&) = delete;
    HeldMedium& operator=(const HeldMedium&) = delete;
    STGMEDIUM* get() { return &medium_; }
    void release() {
        if (medium_.tymed == TYMED_NULL) return;
        ReleaseStgMedium(&medium_);
        medium_ = {};
    }

private:
    STGMEDIUM medium_{};
};

}  // namespace

HRESULT Win32DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    offersFiles_ = OffersFiles(data);
    *effect = effectFor(*effect);
    offersFiles_ = false;
    if (*effect == DROPEFFECT_NONE) return S_OK;
    // Called from the system's drag loop, which no exception may cross: a failure (a name that
    // cannot be read, memory, the handler's own) ends the drop here and waits for the message
    // loop, which reports it.
    try {
        FORMATETC format = FileListFormat();
        HeldMedium medium;
        if (data->GetData(&format, medium.get()) != S_OK) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        std::vector<std::string> paths;
        if (medium.get()->tymed == TYMED_HGLOBAL && medium.get()->hGlobal)
            paths = DroppedPaths(static_cast<HDROP>(medium.get()->hGlobal));
        medium.release();
        Handler handler = handler_;
        if (handler && !paths.empty()) handler(paths);
        return S_OK;
    } catch (...) {
        *effect = DROPEFFECT_NONE;
        KeepCallbackException(std::current_exception());
        return E_UNEXPECTED;
    }
}
