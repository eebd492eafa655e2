#include "platform/qt/QtPlatform.h"
#include "TestPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

namespace {

std::string DataFolder;
TQtPlatform* Platform = nullptr;

} // namespace

TQtPlatform& TestPlatform()
{
    return *Platform;
}

const std::string& TestDataFolder()
{
    return DataFolder;
}

// The main window broadcasts when shown and the tests mount over folders, so the
// process first moves into network and mount namespaces of its own.
int main(int argc, char** argv)
{
    if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        std::perror("widget tests need root for private network and mount namespaces");
        return EXIT_FAILURE;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    char folderTemplate[] = "/tmp/ostrel-app-tests-XXXXXX";
    if (!mkdtemp(folderTemplate)) {
        std::perror("cannot make the test data folder");
        return EXIT_FAILURE;
    }
    DataFolder = folderTemplate;

    ::testing::InitGoogleTest(&argc, argv);
    int result = EXIT_FAILURE;
    {
        TQtPlatform platform(DataFolder);
        Platform = &platform;
        result = RUN_ALL_TESTS();
        Platform = nullptr;
    }
    std::filesystem::remove_all(DataFolder);
    return result;
}
