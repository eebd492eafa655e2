#include "app/Program.h"

#include "FakeFileSystem.h"
#include "FakePlatform.h"
#include "FakeSockets.h"
#include "platform/OstrelError.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

// A backend that cannot make the window of the given name.
class TWindowlessPlatform : public TFakePlatform
{
public:
    explicit TWindowlessPlatform(std::string failing)
        : m_failing(std::move(failing))
    { }

    std::unique_ptr<TForm> CreateForm(const TFormDecl& decl) override
    {
        if (decl.Name == m_failing)
            throw EOstrelError("Cannot create the window " + decl.Name);
        return TFakePlatform::CreateForm(decl);
    }

private:
    std::string m_failing;
};

TEST(ProgramTest, AWindowThatCannotBeMadeIsReportedAndEndsTheProgramWithDiscoveryClosed)
{
    for (const std::string failing : { "Form1", "Form2" }) {
        TFakeFileSystem files;
        TFakeSocketApi sockets;
        TWindowlessPlatform platform(failing);
        platform.FileSystemImpl = &files;
        platform.SocketsImpl = &sockets;

        EXPECT_EQ(RunProgram(platform), 1) << failing;
        EXPECT_EQ(platform.App.ExceptionReports, std::vector<std::string> { "Cannot create the window " + failing });
        // The main window had opened discovery before the dialog failed; nothing is left open.
        const auto calls = sockets.Calls();
        const auto closes = std::count_if(calls.begin(), calls.end(),
                                          [](const std::string& call) { return call.ends_with(" close"); });
        EXPECT_EQ(closes, static_cast<long>(sockets.Made.size())) << failing;
    }
}

} // namespace
