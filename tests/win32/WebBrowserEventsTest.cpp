#include "platform/win32/WebBrowserEvents.h"

#include <cstdio>
#include <exdisp.h>
#include <exdispid.h>
#include <gtest/gtest.h>
#include <shobjidl.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// NavigateError's arguments laid out as the engine passes them: in reverse order, each but
// the window and the cancel flag a VARIANT by reference.
class TNavigateErrorArguments
{
public:
    TNavigateErrorArguments(const wchar_t* url, LONG statusCode, VARIANT_BOOL cancel)
        : m_url(SysAllocString(url))
        , m_cancel(cancel)
    {
        m_urlValue.vt = VT_BSTR;
        m_urlValue.bstrVal = m_url;
        m_frameValue.vt = VT_EMPTY;
        m_statusValue.vt = VT_I4;
        m_statusValue.lVal = statusCode;
        Arguments[4].vt = VT_DISPATCH;
        Arguments[4].pdispVal = nullptr;
        ByReference(Arguments[3], m_urlValue);
        ByReference(Arguments[2], m_frameValue);
        ByReference(Arguments[1], m_statusValue);
        Arguments[0].vt = VT_BOOL | VT_BYREF;
        Arguments[0].pboolVal = &m_cancel;
        Parameters.rgvarg = Arguments;
        Parameters.cArgs = 5;
    }
    TNavigateErrorArguments(const TNavigateErrorArguments&) = delete;
    TNavigateErrorArguments& operator=(const TNavigateErrorArguments&) = delete;
    ~TNavigateErrorArguments() { SysFreeString(m_url); }

    VARIANT_BOOL Cancel() const { return m_cancel; }
    void SetFrame(BSTR frame)
    {
        m_frameValue.vt = VT_BSTR;
        m_frameValue.bstrVal = frame;
    }

    VARIANT Arguments[5] = {};
    DISPPARAMS Parameters = {};

private:
    static void ByReference(VARIANT& argument, VARIANT& value)
    {
        argument.vt = VT_VARIANT | VT_BYREF;
        argument.pvarVal = &value;
    }

    BSTR m_url;
    VARIANT m_urlValue = {};
    VARIANT m_frameValue = {};
    VARIANT m_statusValue = {};
    VARIANT_BOOL m_cancel;
};

// Marks itself dead when destroyed, so that a handler can tell whether it outlived its own call.
struct TLifeMark
{
    bool Alive = true;
    ~TLifeMark() { Alive = false; }
};

class WebBrowserEventsTest : public ::testing::Test
{
protected:
    HRESULT Invoke(DISPID id, DISPPARAMS* parameters)
    {
        return Sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, parameters, nullptr, nullptr, nullptr);
    }

    std::vector<std::string> Events;
    bool CancelAnswer = true;
    TComPtr<TWebBrowserEvents> Sink = TWebBrowserEvents::Create({
        [this] { Events.push_back("complete"); },
        [this](const std::string& url, const std::string& frame, int statusCode, bool& cancel) {
            char status[16];
            std::snprintf(status, sizeof status, "%08X", static_cast<unsigned>(statusCode));
            Events.push_back("error " + url + " frame=" + frame + " status=" + status + (cancel ? " cancel" : ""));
            cancel = CancelAnswer;
        },
        [this](const std::string& url) { Events.push_back("new window " + url); },
        [this](long command, bool enabled) {
            Events.push_back("command " + std::to_string(command) + (enabled ? " on" : " off"));
        },
    });
};

TEST_F(WebBrowserEventsTest, DownloadCompleteComesThroughEveryTimeAndOtherEventsAreAnsweredOnly)
{
    DISPPARAMS none {};
    EXPECT_EQ(Invoke(DISPID_DOWNLOADCOMPLETE, &none), S_OK);
    EXPECT_EQ(Invoke(DISPID_DOWNLOADCOMPLETE, nullptr), S_OK);
    for (DISPID other : { DISPID_BEFORENAVIGATE2, DISPID_DOCUMENTCOMPLETE, DISPID_NAVIGATECOMPLETE2, DISPID_NEWWINDOW2,
                          DISPID_DOWNLOADBEGIN, 0, -1, 100000 })
        EXPECT_EQ(Invoke(other, &none), S_OK) << other;

    EXPECT_EQ(Events, (std::vector<std::string> { "complete", "complete" }));
}

TEST_F(WebBrowserEventsTest, NavigateErrorGivesTheAddressAndTakesTheCancelAnswer)
{
    TNavigateErrorArguments refused(L"http://PC1:8080/", static_cast<LONG>(0x800C0008), VARIANT_FALSE);
    EXPECT_EQ(Invoke(DISPID_NAVIGATEERROR, &refused.Parameters), S_OK);
    EXPECT_EQ(refused.Cancel(), VARIANT_TRUE);

    // The engine may report one failure several times; each report is answered alike.
    EXPECT_EQ(Invoke(DISPID_NAVIGATEERROR, &refused.Parameters), S_OK);
    EXPECT_EQ(refused.Cancel(), VARIANT_TRUE);

    // A handler that leaves the flag alone leaves the engine's own choice.
    CancelAnswer = false;
    TNavigateErrorArguments notFound(L"http://b\u00fcro:80/x", 404, VARIANT_FALSE);
    const BSTR frame = SysAllocString(L"top");
    notFound.SetFrame(frame);
    EXPECT_EQ(Invoke(DISPID_NAVIGATEERROR, &notFound.Parameters), S_OK);
    SysFreeString(frame);
    EXPECT_EQ(notFound.Cancel(), VARIANT_FALSE);

    EXPECT_EQ(Events,
              (std::vector<std::string> {
                  "error http://PC1:8080/ frame= status=800C0008",
                  "error http://PC1:8080/ frame= status=800C0008 cancel",
                  "error http://b\xc3\xbcro:80/x frame=top status=00000194",
              }));
}

TEST_F(WebBrowserEventsTest, NavigateErrorWithoutThePublishedLayoutIsNotPassedOn)
{
    using TSpoil = void (*)(TNavigateErrorArguments&);
    const struct
    {
        const char* Name;
        TSpoil Spoil;
    } cases[] = {
        { "four arguments", [](TNavigateErrorArguments& a) { a.Parameters.cArgs = 4; } },
        { "six arguments", [](TNavigateErrorArguments& a) { a.Parameters.cArgs = 6; } },
        { "no argument array", [](TNavigateErrorArguments& a) { a.Parameters.rgvarg = nullptr; } },
        { "cancel by value", [](TNavigateErrorArguments& a) { a.Arguments[0].vt = VT_BOOL; } },
        { "cancel of another type", [](TNavigateErrorArguments& a) { a.Arguments[0].vt = VT_I4 | VT_BYREF; } },
        { "cancel pointing nowhere", [](TNavigateErrorArguments& a) { a.Arguments[0].pboolVal = nullptr; } },
        { "address a number", [](TNavigateErrorArguments& a) { a.Arguments[3].pvarVal->vt = VT_I4; } },
        { "address pointing nowhere", [](TNavigateErrorArguments& a) { a.Arguments[3].pvarVal = nullptr; } },
        { "arguments in call order", [](TNavigateErrorArguments& a) { std::swap(a.Arguments[0], a.Arguments[4]); } },
    };
    for (const auto& spoilt : cases) {
        TNavigateErrorArguments arguments(L"http://PC1:8080/", static_cast<LONG>(0x800C0008), VARIANT_FALSE);
        spoilt.Spoil(arguments);
        EXPECT_NE(Invoke(DISPID_NAVIGATEERROR, &arguments.Parameters), S_OK) << spoilt.Name;
        EXPECT_EQ(arguments.Cancel(), VARIANT_FALSE) << spoilt.Name;
    }
    EXPECT_NE(Invoke(DISPID_NAVIGATEERROR, nullptr), S_OK);

    EXPECT_TRUE(Events.empty());
}

TEST_F(WebBrowserEventsTest, EveryNewWindowIsCancelledAndOnlyOneTheUserAskedForIsPassedOn)
{
    // NewWindow3's arguments as the engine passes them: in reverse order, all by value but the
    // window and the cancel flag.
    const BSTR url = SysAllocString(L"http://PC1:8080/docs");
    const BSTR context = SysAllocString(L"http://PC1:8080/links");
    const auto invoke = [&](DWORD flags, VARTYPE cancelType) {
        IDispatch* window = nullptr;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT arguments[5] = {};
        arguments[0].vt = VT_BSTR;
        arguments[0].bstrVal = url;
        arguments[1].vt = VT_BSTR;
        arguments[1].bstrVal = context;
        arguments[2].vt = VT_UI4;
        arguments[2].ulVal = flags;
        arguments[3].vt = cancelType;
        arguments[3].pboolVal = &cancel;
        arguments[4].vt = VT_DISPATCH | VT_BYREF;
        arguments[4].ppdispVal = &window;
        DISPPARAMS parameters { arguments, nullptr, 5, 0 };
        const HRESULT result = Invoke(DISPID_NEWWINDOW3, &parameters);
        return std::make_pair(result, cancel);
    };

    EXPECT_EQ(invoke(NWMF_USERINITED | NWMF_FIRST, VT_BOOL | VT_BYREF), std::make_pair(S_OK, VARIANT_TRUE));
    // A page's script opening a window on its own.
    EXPECT_EQ(invoke(0, VT_BOOL | VT_BYREF), std::make_pair(S_OK, VARIANT_TRUE));
    EXPECT_EQ(invoke(NWMF_USERINITED, VT_BOOL).first, DISP_E_TYPEMISMATCH);
    SysFreeString(url);
    SysFreeString(context);

    EXPECT_EQ(Events, std::vector<std::string> { "new window http://PC1:8080/docs" });
}

TEST_F(WebBrowserEventsTest, CommandStateChangeTellsWhetherTheHistoryGoesOn)
{
    // In reverse order: whether it is enabled, then the command.
    VARIANT arguments[2] = {};
    arguments[0].vt = VT_BOOL;
    arguments[0].boolVal = VARIANT_TRUE;
    arguments[1].vt = VT_I4;
    arguments[1].lVal = CSC_NAVIGATEBACK;
    DISPPARAMS parameters { arguments, nullptr, 2, 0 };
    EXPECT_EQ(Invoke(DISPID_COMMANDSTATECHANGE, &parameters), S_OK);
    arguments[0].boolVal = VARIANT_FALSE;
    arguments[1].lVal = CSC_NAVIGATEFORWARD;
    EXPECT_EQ(Invoke(DISPID_COMMANDSTATECHANGE, &parameters), S_OK);
    arguments[1].vt = VT_BSTR;
    EXPECT_EQ(Invoke(DISPID_COMMANDSTATECHANGE, &parameters), DISP_E_TYPEMISMATCH);
    parameters.cArgs = 1;
    EXPECT_EQ(Invoke(DISPID_COMMANDSTATECHANGE, &parameters), DISP_E_BADPARAMCOUNT);

    EXPECT_EQ(Events, (std::vector<std::string> { "command 2 on", "command 1 off" }));
}

TEST_F(WebBrowserEventsTest, IsOneDispatchObjectThatGoesQuietOnceDetached)
{
    for (const IID& iid : { IID_IUnknown, IID_IDispatch, DIID_DWebBrowserEvents2 }) {
        void* object = nullptr;
        ASSERT_EQ(Sink->QueryInterface(iid, &object), S_OK);
        EXPECT_EQ(object, static_cast<IDispatch*>(Sink.Get()));
        Sink->Release();
    }
    void* other = &other;
    EXPECT_EQ(Sink->QueryInterface(IID_IOleClientSite, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(Sink->AddRef(), 2u);
    EXPECT_EQ(Sink->Release(), 1u);

    // A handler may let go of the view, and so detach the sink, while it runs; it must not
    // destroy itself by that.
    Sink->Detach();
    Sink = TWebBrowserEvents::Create({ [this, mark = TLifeMark()] {
                                          Sink->Detach();
                                          Events.push_back(mark.Alive ? "complete" : "handler destroyed while running");
                                      },
                                       nullptr, nullptr, nullptr });
    DISPPARAMS none {};
    EXPECT_EQ(Invoke(DISPID_DOWNLOADCOMPLETE, &none), S_OK);
    EXPECT_EQ(Invoke(DISPID_DOWNLOADCOMPLETE, &none), S_OK);
    TNavigateErrorArguments refused(L"http://PC1:8080/", 0, VARIANT_FALSE);
    EXPECT_EQ(Invoke(DISPID_NAVIGATEERROR, &refused.Parameters), S_OK);

    EXPECT_EQ(Events, std::vector<std::string> { "complete" });
    EXPECT_EQ(refused.Cancel(), VARIANT_FALSE);
}

} // namespace
