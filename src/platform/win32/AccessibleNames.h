#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Names for screen readers, given to controls through the system's dynamic annotation: the
// name a reader announces for the control instead of what it would work out itself (nothing for
// a list, the text before an edit box). Nothing on the screen changes.
class AccessibleNamer {
public:
    struct Named {
        HWND control;
        std::wstring name;
    };
    virtual ~AccessibleNamer() = default;
    // Gives each control its name. Returns how many the system took: none where it offers no
    // annotation (COM not started on the thread, no accessibility library). Never throws.
    virtual int name(const std::vector<Named>& controls) = 0;
    // Takes the names back, before the controls go. Never throws.
    virtual void clear(const std::vector<HWND>& controls) = 0;
};

// The system's annotation service (oleacc's IAccPropServices, PROPID_ACC_NAME), created for
// each call: the names stay with the windows, not with the service object.
AccessibleNamer& SystemAccessibleNamer();
