#include "platform/win32/AccessibleAnnotation.h"

namespace {

constexpr CLSID AccPropServices = { 0xb5f8350b, 0x0548, 0x48b1, { 0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7 } };
constexpr IID AccPropServicesInterface
    = { 0x6e26e776, 0x04f0, 0x495d, { 0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69 } };

} // namespace

TComPtr<IAccPropServices> AccessibleAnnotations()
{
    TComPtr<IAccPropServices> services;
    CoCreateInstance(AccPropServices, nullptr, CLSCTX_INPROC_SERVER, AccPropServicesInterface, services.PutVoid());
    return services;
}

TAccessibleAnnotation::TAccessibleAnnotation(HWND window, const GUID& property)
    : m_window(window)
    , m_property(property)
    , m_services(AccessibleAnnotations())
{ }

TAccessibleAnnotation::~TAccessibleAnnotation()
{
    if (!m_services)
        return;
    MSAAPROPID property = m_property;
    m_services->ClearHwndProps(m_window, OBJID_CLIENT, CHILDID_SELF, &property, 1);
}

void TAccessibleAnnotation::Set(const std::wstring& text)
{
    if (!m_services)
        return;
    m_services->SetHwndPropStr(m_window, OBJID_CLIENT, CHILDID_SELF, m_property, text.c_str());
    const DWORD event
        = IsEqualGUID(m_property, AccessibleProperty::Name) ? EVENT_OBJECT_NAMECHANGE : EVENT_OBJECT_DESCRIPTIONCHANGE;
    NotifyWinEvent(event, m_window, OBJID_CLIENT, CHILDID_SELF);
}
