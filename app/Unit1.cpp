#include "app/Unit1.h"

#include "app/Form1Decl.h"
#include "app/Version.h"
#include "discovery/DiscoverySockets.h"
#include "discovery/Scan.h"
#include "list/ComputerList.h"
#include "list/ListFile.h"
#include "platform/Application.h"
#include "platform/Canvas.h"
#include "platform/Form.h"
#include "platform/Keyboard.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "ui/RowPainter.h"
#include "ui/Viewer.h"

#include <string_view>
#include <utility>

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;

namespace {

// The maker's web site; the help link opens one page on it.
constexpr std::string_view MakerSite = "https://www.mervane.example";
constexpr std::string_view HelpPage = "/remote-management.html";

} // namespace

TForm1::TForm1(TPlatform& platform)
    : m_platform(platform)
    , m_form(platform.CreateForm(Form1Decl()))
    , m_image1(platform.LoadPicture("computer.png"))
    , m_image2(platform.LoadPicture("badge.png"))
    , m_computers(std::make_unique<TComputerList>(m_form->ListBox("ListBox1")))
    , m_rowPainter(std::make_unique<TRowPainter>(*m_image1, *m_image2))
    , m_viewer(std::make_unique<TViewer>(platform.Application(), *m_computers, m_form->WebBrowser("WebBrowser1"),
                                         m_form->Label("Label1"), *m_form, std::string(MainTitle) + " - "))
{
    Form1 = this;
    BindHandlers();
    // A failing creation handler ends early and is reported; the program still starts.
    try {
        FormCreate();
    } catch (const std::exception& error) {
        m_platform.Application().ShowException(error);
    }
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::BindHandlers()
{
    auto& form = *m_form;
    form.OnShow = [this] { FormShow(); };
    form.OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    form.OnKeyPress = [this](char16_t& key) { FormKeyPress(key); };

    auto& helpLink = form.Label("Label2");
    helpLink.OnMouseEnter = [this] { Label2MouseEnter(); };
    helpLink.OnMouseLeave = [this] { Label2MouseLeave(); };
    helpLink.OnClick = [this] { Label2Click(); };

    form.Button("Button1").OnClick = [this] { Button1Click(); };
    form.Button("Button2").OnClick = [this] { Button2Click(); };

    auto& listBox = form.ListBox("ListBox1");
    listBox.OnDrawItem = [this](int row, const TRect& rect, TOwnerDrawState state, TCanvas& canvas) {
        ListBox1DrawItem(row, rect, state, canvas);
    };
    listBox.OnMouseDown
        = [this](TMouseButton button, TShiftState shift, TPoint at) { ListBox1MouseDown(button, shift, at); };
    listBox.OnContextPopup = [this](TPoint at, bool& handled) { ListBox1ContextPopup(at, handled); };
    listBox.OnClick = [this] { ListBox1Click(); };
    listBox.OnDblClick = [this] { ListBox1DblClick(); };

    auto& menu = form.PopupMenu("PopupMenu1");
    menu.Item("ComputerOpen").OnClick = [this] { ComputerOpenClick(); };
    menu.Item("ComputerEdit").OnClick = [this] { ComputerEditClick(); };
    menu.Item("ComputerDelete").OnClick = [this] { ComputerDeleteClick(); };

    auto& webBrowser = form.WebBrowser("WebBrowser1");
    webBrowser.OnDownloadComplete = [this] { WebBrowser1DownloadComplete(); };
    webBrowser.OnNavigateError = [this](const std::string& url, const std::string& frame, int statusCode,
                                        bool& cancel) { WebBrowser1NavigateError(url, frame, statusCode, cancel); };
    webBrowser.OnNewWindow = [this](const std::string& url) { WebBrowser1NewWindow(url); };
}

void TForm1::FormCreate()
{
    LoadList(*m_computers, m_platform.FileSystem(), m_listBase);
    m_form->SetCaption(std::string(MainTitle));
    m_platform.Application().MaskDivisionByZero();
    OpenDiscovery();
}

void TForm1::FormShow()
{
    if (std::exchange(m_shown, true))
        return;
    SendDiscoveryRequest();
}

void TForm1::FormCloseQuery(bool& canClose)
{
    ShowingErrors([this] { SaveList(*m_computers, m_platform.FileSystem(), m_listBase); });
    // A save for the session keeps the scan and the program going: the session may go on.
    if (!m_form->SavingOnly())
        canClose = !EndAfterScan();
}

void TForm1::SaveListAtExit()
{
    try {
        SaveList(*m_computers, m_platform.FileSystem(), m_listBase);
    } catch (const std::exception&) {
        // Nothing is left to show it in; the file stays as it was.
    }
}

void TForm1::ShowingErrors(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        m_platform.Application().ShowErrorBox(error.what());
    } catch (...) {
        m_platform.Application().ShowErrorBox("Unknown error.");
    }
}

void TForm1::FormKeyPress(char16_t& key)
{
    // The backend keeps the injected sequence away from this handler, so one Enter gives one sequence.
    if (key == u'\r')
        m_platform.Keyboard().InjectControlM();
}

void TForm1::Label2MouseEnter()
{
    m_form->Label("Label2").SetUnderlined(true);
}

void TForm1::Label2MouseLeave()
{
    m_form->Label("Label2").SetUnderlined(false);
}

void TForm1::Label2Click()
{
    m_platform.Shell().OpenUrl(std::string(MakerSite) + std::string(HelpPage));
}
