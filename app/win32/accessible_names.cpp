// Accessible names through the system's annotation service.
#include "app/win32/accessible_names.h"

#include <oleacc.h>

#include <string>

#include "app/win32/view_support.h"
#include "clean/failure_text.h"

namespace purgeon::win32 {

namespace {

// The annotation service and the name property, as the accessibility headers number them.
constexpr GUID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kPropertyName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// One line in the log for each answer the service gives: a system without the service refuses
// every name alike.
void reportRefusal(const wchar_t* name, const wchar_t* step, HRESULT answer) {
    static HRESULT reported = S_OK;
    if (answer == reported) return;
    reported = answer;
    reportViewFailure(L"Accessible names: the annotation service " + std::wstring(step) + L" (" +
                      hresultText(answer) + L") for \"" + name +
                      L"\"; the lists keep the names they would have had.");
}

}  // namespace

void setAccessibleName(HWND control, const wchar_t* name) {
    if (control == nullptr || name == nullptr) return;
    ComPtr<IAccPropServices> services;
    if (const HRESULT created =
            ::CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                               reinterpret_cast<void**>(services.put()));
        FAILED(created)) {
        reportRefusal(name, L"could not be created", created);
        return;
    }
    // The annotation lives with the window: the system drops it when the window goes.
    if (const HRESULT set = services.get()->SetHwndPropStr(
            control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kPropertyName, name);
        FAILED(set))
        reportRefusal(name, L"refused the name", set);
}

}  // namespace purgeon::win32
