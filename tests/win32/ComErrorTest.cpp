#include "platform/win32/ComError.h"

#include "platform/OstrelError.h"
#include "platform/win32/OleSession.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <regex>
#include <thread>

namespace {

TEST(ComErrorTest, TextNamesWhatFailedTheSystemsWordsAndTheCode)
{
    EXPECT_TRUE(std::regex_match(ComErrorText("Cannot create the web view", E_FAIL),
                                 std::regex(R"(Cannot create the web view: [^.\r\n]+ \(0x80004005\))")))
        << ComErrorText("Cannot create the web view", E_FAIL);
    // A code the system has no words for.
    EXPECT_EQ(ComErrorText("Cannot create the web view", static_cast<HRESULT>(0xA0001234)),
              "Cannot create the web view (0xA0001234)");

    EXPECT_NO_THROW(ThrowIfFailed(S_FALSE, "Cannot resize the web view"));
    try {
        ThrowIfFailed(E_NOINTERFACE, "Cannot resize the web view");
        ADD_FAILURE() << "no error";
    } catch (const EOstrelError& error) {
        EXPECT_EQ(error.what(), ComErrorText("Cannot resize the web view", E_NOINTERFACE));
    }
}

TEST(ComErrorTest, OleRefusesAThreadInAnotherApartmentWithAClearError)
{
    std::string message;
    std::thread([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        try {
            const TOleSession ole;
        } catch (const EOstrelError& error) {
            message = error.what();
        }
        CoUninitialize();
    }).join();
    EXPECT_EQ(message, ComErrorText("Cannot start OLE on the window thread", RPC_E_CHANGED_MODE));

    // Started twice on one thread, as the application and the view each do.
    const TOleSession application;
    const TOleSession view;
}

} // namespace
