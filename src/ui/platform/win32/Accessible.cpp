// What a screen reader says of a control (MSAA). A control that the dialog
// names or describes answers WM_GETOBJECT itself: with the system's
// standard accessible object for it, wrapped so that its name and
// description are the dialog's. (The system finds a field's label only for
// some kinds of field, and dynamic annotation is not there on every
// system, so each control says it for itself.)
#include "ui/platform/win32/WinApi.h"

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x4B324C;
// The window property that holds a control's texts.
constexpr const wchar_t* kTextsProperty = L"K2LAccessibleTexts";

// What a screen reader says of a control, where the dialog says it.
struct AccessibleTexts {
    std::wstring name;
    std::wstring description;
};

// The standard accessible object INNER, named and described by TEXTS.
class CNamedAccessible final : public IAccessible {
public:
    CNamedAccessible(IAccessible* inner, const AccessibleTexts& texts)
        : m_inner(inner), m_texts(texts) {}
    CNamedAccessible(const CNamedAccessible&) = delete;
    CNamedAccessible& operator=(const CNamedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return m_inner->QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&m_refs);
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return m_inner->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return m_inner->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return m_inner->GetIDsOfNames(riid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        return m_inner->Invoke(id, riid, locale, flags, params, result, exception, argError);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Own(child, m_texts.name, name) ? S_OK : m_inner->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Own(child, m_texts.description, description)
                   ? S_OK
                   : m_inner->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return m_inner->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return m_inner->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        return m_inner->get_accChild(child, dispatch);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return m_inner->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return m_inner->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return m_inner->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return m_inner->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return m_inner->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return m_inner->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return m_inner->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return m_inner->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return m_inner->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return m_inner->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return m_inner->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return m_inner->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return m_inner->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return m_inner->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return m_inner->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return m_inner->put_accValue(child, value);
    }

private:
    ~CNamedAccessible() { m_inner->Release(); }

    // TRUE when CHILD is the control itself and the dialog has TEXT for it,
    // then given in OUT.
    static bool Own(const VARIANT& child, const std::wstring& text, BSTR* out) {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF || text.empty() || out == nullptr) {
            return false;
        }
        *out = SysAllocString(text.c_str());
        return true;
    }

    IAccessible* m_inner;
    const AccessibleTexts m_texts;
    LONG m_refs = 1;
};

LRESULT CALLBACK NamedControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR /*id*/, DWORD_PTR texts) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(hWnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard)))) {
            auto* named =
                new CNamedAccessible(standard, *reinterpret_cast<const AccessibleTexts*>(texts));
            const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, named);
            named->Release();
            return result;
        }
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hWnd, NamedControlProc, kSubclassId);
        RemovePropW(hWnd, kTextsProperty);
        delete reinterpret_cast<AccessibleTexts*>(texts);
    }
    return DefSubclassProc(hWnd, message, wParam, lParam);
}

}  // namespace

void SetAccessibleTexts(HWND hControl, const std::wstring& name, const std::wstring& said) {
    if (hControl == nullptr || (name.empty() && said.empty())) {
        return;
    }
    // The object goes to the screen reader through COM: once for the
    // user-interface thread (already initialised, or in another apartment:
    // as it is).
    static const bool com = [] {
        static_cast<void>(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        return true;
    }();
    static_cast<void>(com);
    // The control owns its texts until it is destroyed (NamedControlProc).
    auto* texts = static_cast<AccessibleTexts*>(GetPropW(hControl, kTextsProperty));
    if (texts == nullptr) {
        texts = new AccessibleTexts;
        SetPropW(hControl, kTextsProperty, texts);
    }
    if (!name.empty()) {
        texts->name = name;
    }
    if (!said.empty()) {
        texts->description = said;
    }
    SetWindowSubclass(hControl, NamedControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(texts));
}

void CDialogWindow::SetAccessibleDescription(int nID, const std::wstring& said) {
    const HWND hControl = GetDlgItem(nID);
    if (hControl == nullptr) {
        return;
    }
    const auto found = m_descriptions.find(nID);
    const std::wstring description = found != m_descriptions.end() ? found->second : L"";
    const std::wstring whole =
        said.empty() || description.empty() ? description + said : description + L". " + said;
    SetAccessibleTexts(hControl, std::wstring(), whole);
    // A combo box's edit field, which takes the focus, says the same under
    // the box's name.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(hControl, &info) && info.hwndItem != nullptr && info.hwndItem != hControl) {
        SetAccessibleTexts(info.hwndItem, Widen(NameOf(nID)), whole);
    }
}
