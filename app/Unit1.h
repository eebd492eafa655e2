#pragma once

#include "list/ListMerge.h"
#include "platform/ListBox.h"
#include "platform/Types.h"

#include <functional>
#include <memory>
#include <string>

class TComputerList;
class TDiscoverySockets;
class TForm;
class TForm2;
class TPicture;
class TPlatform;
class TRowPainter;
class TScan;
class TViewer;
struct TReceivedDatagram;

// The main window: its declared controls, start-up, close, keys, help link, and
// the handlers that wire the list view, the viewer and discovery to them.
class TForm1
{
public:
    // Builds the declared window and runs its creation handler.
    explicit TForm1(TPlatform& platform);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    TPlatform& Platform() { return m_platform; }
    TForm& Form() { return *m_form; }
    TComputerList& Computers() { return *m_computers; }
    // The computer icon and the online badge the list rows are drawn from.
    const TPicture& Image1() const { return *m_image1; }
    const TPicture& Image2() const { return *m_image2; }

    // Window events.
    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    // The close's save, for a process ending without a close: no window is touched and no
    // failure can be shown any more.
    void SaveListAtExit();
    void FormKeyPress(char16_t& key);
    void Label2MouseEnter();
    void Label2MouseLeave();
    void Label2Click();

    // Discovery.
    void OpenDiscovery();
    void SendDiscoveryRequest();
    // Stops the receive threads; called after the event loop ends, before the list goes.
    void CloseDiscovery();
    // Runs on the UI thread for every datagram the discovery socket receives.
    void IdUDPServer1UDPRead(const TReceivedDatagram& datagram);
    void Button2Click();
    // A close request during a scan: asks the program to end once the scan has
    // finished and keeps the window up meanwhile; false when no scan runs.
    bool EndAfterScan();

    // List view, viewer and address dialog.
    void ListBox1DrawItem(int row, const TRect& rect, TOwnerDrawState state, TCanvas& canvas);
    void ListBox1MouseDown(TMouseButton button, TShiftState shift, TPoint at);
    void ListBox1ContextPopup(TPoint at, bool& handled);
    void ListBox1Click();
    void ListBox1DblClick();
    void ComputerOpenClick();
    void ComputerEditClick();
    void ComputerDeleteClick();
    void Button1Click();
    void OpenSelectedComputer();
    void WebBrowser1DownloadComplete();
    void WebBrowser1NavigateError(const std::string& url, const std::string& frame, int statusCode, bool& cancel);
    void WebBrowser1NewWindow(const std::string& url);
    void AddComputer();
    void EditSelectedComputer();
    void DeleteSelectedComputer();

private:
    void BindHandlers();
    // Runs action and shows whatever it throws in the error box ("Unknown error." for what is
    // no standard exception): how the places that catch every error report it.
    void ShowingErrors(const std::function<void()>& action);
    // Made on first use, so that a failed creation handler still leaves sends able to open it.
    TDiscoverySockets& Discovery();

    TPlatform& m_platform;
    std::unique_ptr<TForm> m_form;
    std::unique_ptr<TPicture> m_image1;
    std::unique_ptr<TPicture> m_image2;
    std::unique_ptr<TComputerList> m_computers;
    // What the list file held at this copy's last load or save, for merging at the next save.
    TMergeBase m_listBase;
    std::unique_ptr<TRowPainter> m_rowPainter;
    std::unique_ptr<TViewer> m_viewer;
    std::unique_ptr<TScan> m_scan;
    // The first-show request goes out once per run, however often the window is shown.
    bool m_shown = false;
    // Last, so it goes first: its receive threads hand datagrams to the members above.
    std::unique_ptr<TDiscoverySockets> m_discovery;
};

// The program's two windows, reached by every handler.
extern TForm1* Form1;
extern TForm2* Form2;
