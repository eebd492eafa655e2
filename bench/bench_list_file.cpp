// Loading and saving the list file through the real file system, for lists of 10k to 1M entries,
// beside the raw cost of the same bytes (read; write and fsync), so each figure reads as a
// ratio to what the disk and the system take anyway. Reads run twice: with the file in the page
// cache, as after another copy's save, and from the disk, as at the first start after a boot.
#include "FakeControls.h"
#include "list/ComputerList.h"
#include "list/ListFile.h"
#include "list/ListMerge.h"
#include "platform/posix/PosixFileSystem.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class TScratchFolder
{
public:
    TScratchFolder()
        : m_path(fs::temp_directory_path() / ("ostrel-bench-" + std::to_string(std::random_device {}())))
    {
        fs::create_directories(m_path);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    ~TScratchFolder() { fs::remove_all(m_path); }

    std::string Path() const { return m_path.string(); }

private:
    fs::path m_path;
};

// Whether a read finds the file in the page cache (0) or must go to the disk (1).
bool FromDisk(const benchmark::State& state)
{
    return state.range(1) != 0;
}

// Makes the next read of the file go to the disk.
void DropFromPageCache(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    fdatasync(fd);
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    close(fd);
}

struct TFilledList
{
    explicit TFilledList(std::int64_t count)
    {
        for (std::int64_t i = 0; i < count; ++i)
            List.Append("http://computer-" + std::to_string(i) + ".example:8080", TInfo(false));
    }

    TFakeListBox Rows { TControlDecl {} };
    TComputerList List { Rows };
};

void BM_SaveList(benchmark::State& state)
{
    TScratchFolder folder;
    TPosixFileSystem files(folder.Path());
    const TFilledList filled(state.range(0));
    TMergeBase base;
    for (auto _ : state)
        SaveList(filled.List, files, base);
    state.SetComplexityN(state.range(0));
}

// A save after another copy has saved: the file differs from this copy's base, so the two are merged.
void BM_SaveListMerging(benchmark::State& state)
{
    TScratchFolder folder;
    TPosixFileSystem files(folder.Path());
    TFilledList filled(state.range(0));
    TMergeBase base;
    SaveList(filled.List, files, base);
    filled.List.Append("http://this-copy.example:8080", TInfo(false));
    TFilledList other(state.range(0));
    other.List.Append("http://other-copy.example:8080", TInfo(false));
    // The bases are copies for each round, made and dropped outside the timing as the plain
    // save has none to make.
    std::optional<TMergeBase> thisBase;
    for (auto _ : state) {
        state.PauseTiming();
        thisBase.reset();
        {
            TMergeBase otherBase = base;
            SaveList(other.List, files, otherBase);
        }
        thisBase = base;
        state.ResumeTiming();
        SaveList(filled.List, files, *thisBase);
    }
    state.SetComplexityN(state.range(0));
}

void BM_LoadList(benchmark::State& state)
{
    TScratchFolder folder;
    TPosixFileSystem files(folder.Path());
    TMergeBase base;
    SaveList(TFilledList(state.range(0)).List, files, base);
    std::optional<TFilledList> loaded;
    for (auto _ : state) {
        state.PauseTiming();
        loaded.emplace(0);
        if (FromDisk(state))
            DropFromPageCache(folder.Path() + "/Mervane/list.dat");
        state.ResumeTiming();
        LoadList(loaded->List, files, base);
        state.PauseTiming();
        loaded.reset();
        state.ResumeTiming();
    }
}

// The list file a save of count entries writes, as bytes.
std::string ListFileBytes(std::int64_t count)
{
    TScratchFolder folder;
    TPosixFileSystem files(folder.Path());
    TMergeBase base;
    SaveList(TFilledList(count).List, files, base);
    std::ifstream file(folder.Path() + "/Mervane/list.dat", std::ios::binary);
    return { std::istreambuf_iterator<char>(file), {} };
}

void BM_RawRead(benchmark::State& state)
{
    TScratchFolder folder;
    const std::string path = folder.Path() + "/raw.dat";
    const std::string bytes = ListFileBytes(state.range(0));
    std::ofstream(path, std::ios::binary) << bytes;
    for (auto _ : state) {
        if (FromDisk(state)) {
            state.PauseTiming();
            DropFromPageCache(path);
            state.ResumeTiming();
        }
        // Into new memory, as every load must take the bytes into memory of its own.
        std::string buffer(bytes.size(), '\0');
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        std::size_t got = 0;
        while (got < buffer.size()) {
            const ssize_t part = read(fd, buffer.data() + got, buffer.size() - got);
            if (part <= 0)
                break;
            got += static_cast<std::size_t>(part);
        }
        close(fd);
        benchmark::DoNotOptimize(buffer.data());
    }
}

void BM_RawWriteAndFsync(benchmark::State& state)
{
    TScratchFolder folder;
    const std::string path = folder.Path() + "/raw.dat";
    const std::string bytes = ListFileBytes(state.range(0));
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t part = write(fd, bytes.data() + done, bytes.size() - done);
            if (part <= 0)
                break;
            done += static_cast<std::size_t>(part);
        }
        fsync(fd);
        close(fd);
    }
}

} // namespace

BENCHMARK(BM_RawRead)->ArgsProduct({ { 10'000, 100'000, 1'000'000 }, { 0, 1 } })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteAndFsync)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveList)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_SaveListMerging)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_LoadList)->ArgsProduct({ { 10'000, 100'000, 1'000'000 }, { 0, 1 } })->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
