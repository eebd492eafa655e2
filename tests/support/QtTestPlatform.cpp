#include "QtTestPlatform.h"

#include "platform/qt/QtPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

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

int RunTestsOnQtPlatform(int argc, char** argv, std::string folderTemplate)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!mkdtemp(folderTemplate.data())) {
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
