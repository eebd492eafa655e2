#include "app/Unit1.h"
#include "discovery/DiscoverySockets.h"
#include "discovery/Reply.h"
#include "discovery/Scan.h"
#include "list/ComputerList.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Platform.h"

// The discovery socket and the scan, wired to the main window.

TDiscoverySockets& TForm1::Discovery()
{
    if (!m_discovery)
        m_discovery = std::make_unique<TDiscoverySockets>(
            m_platform.Sockets(), m_platform.Application().SyncGate(),
            [this](const TReceivedDatagram& datagram) { IdUDPServer1UDPRead(datagram); });
    return *m_discovery;
}

void TForm1::OpenDiscovery()
{
    ShowingErrors([this] { Discovery().Open(); });
}

void TForm1::SendDiscoveryRequest()
{
    ShowingErrors([this] { Discovery().SendRequest(); });
}

void TForm1::CloseDiscovery()
{
    if (m_discovery)
        m_discovery->Close();
}

void TForm1::IdUDPServer1UDPRead(const TReceivedDatagram& datagram)
{
    const auto address = DiscoveredAddress(datagram);
    if (!address)
        return;
    // A reply read before the latest scan began, its name looked up since, did not answer it.
    if (datagram.ScansBegun == Discovery().ScansBegun())
        m_computers->MergeDiscovered(*address);
    else
        m_computers->AddDiscovered(*address);
}

void TForm1::Button2Click()
{
    if (!m_scan)
        m_scan = std::make_unique<TScan>(
            m_platform.Application(),
            [this] {
                Discovery().BeginScan();
                m_computers->MarkAllOffline();
            },
            m_form->Button("Button2"), m_form->ProgressBar("ProgressBar1"), [this] { SendDiscoveryRequest(); });
    m_scan->Run();
}

bool TForm1::EndAfterScan()
{
    if (!m_scan || !m_scan->Running())
        return false;
    m_platform.Application().Terminate();
    return true;
}
