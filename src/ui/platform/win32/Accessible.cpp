// What a screen reader says of a control (MSAA): a field's name is the
// label before it, which Windows finds itself; where the template names a
// control (a button whose text would not tell it apart) or describes it,
// the dynamic annotation of the control says so.
#include "ui/platform/win32/WinApi.h"

#include "ui/platform/win32/DialogWindow.h"

namespace {

// The annotation service, made once for the user-interface thread.
IAccPropServices* PropServices() {
    static IAccPropServices* services = [] {
        IAccPropServices* made = nullptr;
        // Already initialised (S_FALSE) or in another apartment: use it as it is.
        static_cast<void>(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                         reinterpret_cast<void**>(&made));
        return made;
    }();
    return services;
}

}  // namespace

void SetAccessibleTexts(HWND hControl, const std::wstring& name, const std::wstring& said) {
    IAccPropServices* services = PropServices();
    if (services == nullptr) {
        return;  // no accessibility service: the labels still name the fields
    }
    if (!name.empty()) {
        services->SetHwndPropStr(hControl, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 PROPID_ACC_NAME, name.c_str());
    }
    if (!said.empty()) {
        services->SetHwndPropStr(hControl, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 PROPID_ACC_DESCRIPTION, said.c_str());
    }
}

void CDialogWindow::SetAccessibleDescription(int nID, const std::wstring& said) {
    const HWND hControl = GetDlgItem(nID);
    if (hControl == nullptr) {
        return;
    }
    const auto found = m_descriptions.find(nID);
    const std::wstring description = found != m_descriptions.end() ? found->second : L"";
    SetAccessibleTexts(
        hControl, std::wstring(),
        said.empty() || description.empty() ? description + said : description + L". " + said);
}
