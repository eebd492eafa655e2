#include "app/Unit1.h"
#include "FakeFileSystem.h"
#include "FakePlatform.h"
#include "FakeSockets.h"
#include "list/ComputerList.h"
#include "list/Info.h"
#include "ui/Form2.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* ListPath = "/data/Mervane/list.dat";

class Form1Test : public ::testing::Test
{
protected:
    Form1Test()
    {
        Platform.FileSystemImpl = &Files;
        Platform.SocketsImpl = &Sockets;
    }

    std::unique_ptr<TForm1> CreateForm1() { return std::make_unique<TForm1>(Platform); }

    TFakeFileSystem Files;
    TFakeSocketApi Sockets;
    TFakePlatform Platform;
};

TEST_F(Form1Test, StartsWithEmptyListAndVersionTitleWhenNoListFile)
{
    const auto form1 = CreateForm1();

    EXPECT_EQ(form1->Form().Caption(), "Ostrel 4.1.1");
    EXPECT_EQ(form1->Computers().Count(), 0);
    EXPECT_EQ(Platform.App.DivisionByZeroMasks, 1);
    EXPECT_TRUE(Platform.App.ExceptionReports.empty());
    EXPECT_FALSE(Sockets.Made.empty()) << "the creation handler opens discovery";
    EXPECT_EQ(Form1, form1.get());
}

// Notes the main window's title whenever a file is read.
class TTitleNotingFileSystem : public TFakeFileSystem
{
public:
    explicit TTitleNotingFileSystem(TFakePlatform& platform)
        : m_platform(platform)
    { }

    TFileReadResult ReadFile(const std::string& path, std::size_t limit) override
    {
        TitlesAtRead.push_back(m_platform.Forms.front()->Caption());
        return TFakeFileSystem::ReadFile(path, limit);
    }

    std::vector<std::string> TitlesAtRead;

private:
    TFakePlatform& m_platform;
};

TEST_F(Form1Test, LoadsListBeforeSettingTitle)
{
    TTitleNotingFileSystem files(Platform);
    Platform.FileSystemImpl = &files;
    files.Folders.insert("/data/Mervane");
    files.Files[ListPath] = "[General]\r\nComputers=2\r\n\r\n[0]\r\nName=PC1:80\r\n\r\n[1]\r\nName=PC2:80\r\n";

    const auto form1 = CreateForm1();

    EXPECT_EQ(files.TitlesAtRead, std::vector<std::string> { "Ostrel" });
    ASSERT_EQ(form1->Computers().Count(), 2);
    EXPECT_EQ(form1->Computers().Text(1), "PC2:80");
    EXPECT_EQ(form1->Form().Caption(), "Ostrel 4.1.1");
}

TEST_F(Form1Test, LoadErrorEndsCreationHandlerAndIsReportedOnce)
{
    Files.Folders.insert("/data/Mervane");
    Files.Files[ListPath] = "\xEF\xBB\xBF[General]\xFF";

    const auto form1 = CreateForm1();

    EXPECT_EQ(form1->Form().Caption(), "Ostrel");
    EXPECT_EQ(Platform.App.DivisionByZeroMasks, 0);
    EXPECT_TRUE(Sockets.Made.empty()) << "discovery is not opened";
    ASSERT_EQ(Platform.App.ExceptionReports.size(), 1u);
    EXPECT_TRUE(Platform.App.ErrorBoxes.empty());
    EXPECT_EQ(form1->Computers().Count(), 0);
}

TEST_F(Form1Test, CloseQuerySavesTheList)
{
    const auto form1 = CreateForm1();
    form1->Computers().Append("http://pc1:8080", std::nullopt);

    bool canClose = false;
    form1->FormCloseQuery(canClose);

    EXPECT_TRUE(canClose);
    ASSERT_TRUE(Files.Files.contains(ListPath));
    EXPECT_NE(Files.Files[ListPath].find("Name=http://pc1:8080"), std::string::npos);
}

TEST_F(Form1Test, FailedSaveShowsOneErrorBoxAndStillCloses)
{
    const auto form1 = CreateForm1();
    const auto boxesBefore = Platform.App.ErrorBoxes.size();
    Files.WriteResult = { TFileWriteFailure::Create, 13 };

    bool canClose = false;
    form1->FormCloseQuery(canClose);

    EXPECT_TRUE(canClose);
    ASSERT_EQ(Platform.App.ErrorBoxes.size(), boxesBefore + 1);
    EXPECT_EQ(Platform.App.ErrorBoxes.back().rfind("Cannot create file \"/data/Mervane/list.dat\". ", 0), 0u);
    EXPECT_FALSE(Files.Files.contains(ListPath));
}

TEST_F(Form1Test, OnlyCarriageReturnInjectsControlM)
{
    const auto form1 = CreateForm1();

    for (const char16_t typed : { u'a', u'\n', u' ', u'\x0c', u'\r' }) {
        char16_t key = typed;
        form1->FormKeyPress(key);
        EXPECT_EQ(key, typed) << "the key goes on to the focused control";
    }

    EXPECT_EQ(Platform.KeyboardImpl.Injections, 1);
}

// The entry menu as the main window wires it, with the viewer and the address dialog.
TEST_F(Form1Test, EditAndDeleteLeaveTheViewerAndTheTitleAsTheyWere)
{
    const auto form1 = CreateForm1();
    TForm2 dialog(Platform);
    Form2 = &dialog;
    auto& view = static_cast<TFakeForm&>(form1->Form()).Find<TFakeWebBrowser>("WebBrowser1");
    Platform.App.OnProcessMessages = [this] { Platform.App.Advance(100); };
    static_cast<TFakeForm&>(dialog.Form()).OnShowModal = [](TFakeForm& shown) {
        shown.Edit("Edit1").SetText("PC1-renamed:8080");
        shown.Button("Button1").OnClick();
        return TForm::ModalResultCancel;
    };
    form1->Computers().Append("PC1:8080", TInfo(true));
    form1->Computers().Append("PC2:8080", std::nullopt);
    form1->Computers().SetSelection(0);
    form1->ComputerOpenClick();
    view.OnDownloadComplete();
    const auto shown = view.Navigations;
    const std::string title = form1->Form().Caption();

    form1->ComputerEditClick();
    EXPECT_EQ(form1->Computers().Text(0), "PC1-renamed:8080");
    form1->ComputerDeleteClick();
    EXPECT_EQ(form1->Computers().Count(), 1);

    EXPECT_EQ(shown, (std::vector<std::string> { "about:blank", "http://PC1:8080" }));
    EXPECT_EQ(view.Navigations, shown);
    EXPECT_EQ(title, "Ostrel 4.1.1 - PC1:8080");
    EXPECT_EQ(form1->Form().Caption(), title);
    Form2 = nullptr;
}

TEST_F(Form1Test, HelpLinkUnderlinesOnHoverAndOpensMakersPage)
{
    const auto form1 = CreateForm1();
    auto& link = form1->Form().Label("Label2");

    link.OnMouseEnter();
    EXPECT_TRUE(link.Underlined());
    link.OnMouseLeave();
    EXPECT_FALSE(link.Underlined());
    EXPECT_TRUE(link.Bold());
    link.OnClick();

    EXPECT_EQ(Platform.ShellImpl.OpenedUrls,
              std::vector<std::string> { "https://www.mervane.example/remote-management.html" });
}

TEST_F(Form1Test, PagesAskingForANewWindowGetTheDefaultBrowserForWebAddressesOnly)
{
    const auto form1 = CreateForm1();
    auto& view = form1->Form().WebBrowser("WebBrowser1");

    for (const char* url :
         { "http://PC1:8080/help", "HTTPS://docs.example/agent", "file:///etc/passwd", "javascript:alert(1)",
           "mailto:admin@example", "about:blank", "PC1:8080/help", "xhttp://PC1/" })
        view.OnNewWindow(url);

    EXPECT_EQ(Platform.ShellImpl.OpenedUrls,
              (std::vector<std::string> { "http://PC1:8080/help", "HTTPS://docs.example/agent" }));
}

} // namespace
