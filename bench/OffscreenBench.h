#pragma once

// What the benchmarks on the Qt backend share: an offscreen platform with a data
// folder of its own, and the main window's list control.
#include "platform/qt/QtListBox.h"
#include "platform/qt/QtPlatform.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <QWidget>
#include <string>

// ListBox1 as the main window declares it, placed in window.
inline std::unique_ptr<TQtListBox> CreateListBox1(QWidget& window)
{
    TControlDecl decl;
    decl.Kind = TControlKind::ListBox;
    decl.Name = "ListBox1";
    decl.Bounds = { 0, 0, 283, 423 };
    decl.ItemHeight = 50;
    decl.Border = false;
    return CreateQtListBox(decl, &window, [](const std::function<void()>& handler) { handler(); });
}

// Runs the benchmarks, with platform pointing to an offscreen Qt platform meanwhile.
inline int RunOnOffscreenPlatform(int argc, char** argv, const std::string& name, TQtPlatform*& platform)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(folder);
    {
        TQtPlatform offscreen(folder.string());
        platform = &offscreen;
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        platform = nullptr;
    }
    std::filesystem::remove_all(folder);
    return 0;
}
