#pragma once
#include <windows.h>
// The OLE interfaces build on the definitions above.
#include <ole2.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

// The paths of a shell file list (CF_HDROP), in order, in UTF-8. Throws UnpairedSurrogateInName
// for a path that has no exact UTF-8 form.
std::vector<std::string> DroppedPaths(HDROP drop);

// An OLE drop target that takes file lists from the shell: it offers to copy while the data
// holds a file list (CF_HDROP) and refuses anything else, and hands the dropped paths on.
// Reference-counted as COM objects are; create() returns it with one reference.
class Win32DropTarget final : public IDropTarget {
public:
    using Handler = std::function<void(const std::vector<std::string>& paths)>;
    static Win32DropTarget* create(Handler handler);
    // The control went away: later drops are refused, whoever still holds a reference.
    void disconnect() { handler_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override;

private:
    explicit Win32DropTarget(Handler handler) : handler_(std::move(handler)) {}
    ~Win32DropTarget() = default;
    // The effect to show for what the source allows, while a file list is over the control.
    DWORD effectFor(DWORD allowed) const;

    LONG references_ = 1;
    Handler handler_;
    bool offersFiles_ = false;  // the data being dragged holds a file list
};
