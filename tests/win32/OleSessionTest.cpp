// What the end of OLE on a thread leaves behind.
#include "platform/win32/OleSession.h"

#include <cstring>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>
#include <thread>
#include <utility>

namespace {

// Offers one text, the way a web page's Copy does: by an object of the copying apartment,
// which renders the text only when asked. It outlives the test, so it counts no references.
class TTextData final : public IDataObject
{
public:
    explicit TTextData(std::wstring text)
        : m_text(std::move(text))
    { }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        const SIZE_T bytes = (m_text.size() + 1) * sizeof(wchar_t);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = GlobalAlloc(GMEM_MOVEABLE, bytes);
        medium->pUnkForRelease = nullptr;
        std::memcpy(GlobalLock(medium->hGlobal), m_text.c_str(), bytes);
        GlobalUnlock(medium->hGlobal);
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return format->cfFormat == CF_UNICODETEXT && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override
    {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        FORMATETC text = { CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
        return SHCreateStdEnumFmtEtc(1, &text, formats);
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    const std::wstring m_text;
};

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return text;
    if (const HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

TEST(OleSessionTest, TextCopiedStaysOnTheClipboardAfterTheSessionEnds)
{
    TTextData data(L"John-PC:8080");
    HRESULT offered = E_FAIL;
    // A thread of its own: its session is the only one there, so its end ends OLE.
    std::thread([&] {
        const TOleSession session;
        offered = OleSetClipboard(&data);
    }).join();

    ASSERT_EQ(offered, S_OK);
    EXPECT_EQ(ClipboardText(), L"John-PC:8080");
}

} // namespace
