#include "platform/win32/AccessibleNames.h"

#include <initguid.h>
// initguid.h first: the GUIDs oleacc.h declares are defined here.
#include <oleacc.h>

namespace {

// The annotation service for the length of one call.
class PropServices {
public:
    PropServices() {
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&services_))))
            services_ = nullptr;
    }
    ~PropServices() {
        if (services_) services_->Release();
    }
    PropServices(const PropServices&) = delete;
    PropServices& operator=(const PropServices&) = delete;
    IAccPropServices* operator->() const { return services_; }
    explicit operator bool() const { return services_ != nullptr; }

private:
    IAccPropServices* services_ = nullptr;
};

class SystemNamer final : public AccessibleNamer {
public:
    int name(const std::vector<Named>& controls) override {
        if (controls.empty()) return 0;
        PropServices services;
        if (!services) return 0;
        int taken = 0;
        for (const Named& named : controls) {
            // The control's client object is what a reader reads for the control itself.
            if (SUCCEEDED(services->SetHwndPropStr(named.control, static_cast<DWORD>(OBJID_CLIENT),
                                                   CHILDID_SELF, PROPID_ACC_NAME,
                                                   named.name.c_str())))
                ++taken;
        }
        return taken;
    }
    void clear(const std::vector<HWND>& controls) override {
        if (controls.empty()) return;
        PropServices services;
        if (!services) return;
        MSAAPROPID name = PROPID_ACC_NAME;
        for (HWND control : controls)
            services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name,
                                     1);
    }
};

}  // namespace

AccessibleNamer& SystemAccessibleNamer() {
    static SystemNamer namer;
    return namer;
}
