#include "app/Unit1.h"

// The discovery socket and the scan, wired to the main window.

void TForm1::OpenDiscovery() { }

void TForm1::SendDiscoveryRequest() { }

void TForm1::CloseDiscovery() { }

void TForm1::IdUDPServer1UDPRead(const std::string&, const std::string&) { }

void TForm1::Button2Click() { }
