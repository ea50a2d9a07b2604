#include "ui/accessible_win.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

namespace zelvar::ui {
namespace {

constexpr UINT_PTR kSubclassId = 0x41CC;
constexpr wchar_t kGivenProp[] = L"ZelvarAccessible";  // the Given of a control

struct Given {
    std::wstring name;
    long role = 0;
};

// What was given to the control, or null for none (or a window gone).
const Given* GivenFor(HWND control);

// Windows' standard object of the control, with the given name and role.
// The given values are read at each call, so a reader holding the object
// hears the name of the moment; once the window is gone the standard
// object answers alone.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(HWND control, IAccessible* standard) : control_(control), standard_(standard) {}

    // IUnknown: the interfaces a reader asks the standard object for
    // besides IAccessible (IEnumVARIANT for the children, IOleWindow for
    // the window) are the standard object's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return standard_->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return standard_->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID lcid, ITypeInfo** info) override {
        return standard_->GetTypeInfo(i, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT n, LCID lcid, DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, n, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* arg) override {
        return standard_->Invoke(id, iid, lcid, flags, params, result, excep, arg);
    }

    // IAccessible: the name and role of the control itself are the given ones.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        const Given* given = Self(child) ? GivenFor(control_) : nullptr;
        if (!given || given->name.empty()) return standard_->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = SysAllocStringLen(given->name.data(), static_cast<UINT>(given->name.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const Given* given = Self(child) ? GivenFor(control_) : nullptr;
        if (!given || !given->role) return standard_->get_accRole(child, role);
        if (!role) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = given->role;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return standard_->get_accChildCount(n); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return standard_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        return standard_->accLocation(x, y, w, h, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(dir, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() { standard_->Release(); }
    static bool Self(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

    LONG refs_ = 1;
    HWND control_;
    IAccessible* standard_;
};

LRESULT CALLBACK NamedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* given = reinterpret_cast<Given*>(ref);
    switch (msg) {
        case WM_GETOBJECT:
            if (static_cast<LONG>(lp) == OBJID_CLIENT && !given->name.empty()) {
                // The object's calls come back to this thread through its
                // message loop, as to any window's accessible object.
                static const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
                (void)apartment;
                IAccessible* standard = nullptr;
                if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&standard))))
                    break;
                auto* named = new (std::nothrow) NamedAccessible(hwnd, standard);
                if (!named) {
                    standard->Release();
                    break;
                }
                const LRESULT result = LresultFromObject(__uuidof(IAccessible), wp, named);
                named->Release();
                return result;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, NamedProc, kSubclassId);
            RemovePropW(hwnd, kGivenProp);
            delete given;
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

const Given* GivenFor(HWND control) {
    return IsWindow(control) ? static_cast<const Given*>(GetPropW(control, kGivenProp)) : nullptr;
}

}  // namespace

void SetAccessibleName(HWND control, const std::wstring& name, long role, bool quiet) {
    if (!control) return;
    auto* given = static_cast<Given*>(GetPropW(control, kGivenProp));
    if (given) {
        if (given->name == name && given->role == role) return;
    } else {
        given = new Given;
        if (!SetPropW(control, kGivenProp, given) ||
            !SetWindowSubclass(control, NamedProc, kSubclassId, reinterpret_cast<DWORD_PTR>(given))) {
            RemovePropW(control, kGivenProp);
            delete given;
            return;
        }
    }
    given->name = name;
    given->role = role;
    if (!quiet) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

bool HasAccessibleName(HWND control) {
    const Given* given = GivenFor(control);
    return given && !given->name.empty();
}

void AnnounceAlert(HWND window) { NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_CLIENT, CHILDID_SELF); }

}  // namespace zelvar::ui
