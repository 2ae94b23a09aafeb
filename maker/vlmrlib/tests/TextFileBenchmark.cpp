// Reading speed of the text file: lines and number tokens of a generated
// file of about 4 MB.
#include "vlmrlib/CTextFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

// A temporary file of hole-line-like records, removed at exit.
const std::string& sampleFile()
{
    static const std::string name = [] {
        char pattern[] = "/tmp/vlmrbench-XXXXXX";
        int fd = mkstemp(pattern);
        std::string text;
        for (int i = 0; i < 100000; ++i)
            text += "v 1234.50s 50.00g 22.00 " + std::to_string(i) + " 6000.25\r\n";
        if (fd >= 0) {
            if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
                std::abort();
            close(fd);
        }
        static std::string removeAtExit = pattern;
        std::atexit([] { std::remove(removeAtExit.c_str()); });
        return std::string(pattern);
    }();
    return name;
}

void readLines(benchmark::State& state)
{
    for (auto _ : state) {
        CTextFile file;
        file.Open(sampleFile().c_str(), 0);
        CBreakString line;
        std::size_t bytes = 0;
        while (file.ReadLine(&line))
            bytes += static_cast<std::size_t>(line.GetLength());
        benchmark::DoNotOptimize(bytes);
        state.SetBytesProcessed(state.bytes_processed() +
                                static_cast<int64_t>(file.GetFileLength()));
    }
}
BENCHMARK(readLines);

void readTokensAndNumbers(benchmark::State& state)
{
    for (auto _ : state) {
        CTextFile file;
        file.Open(sampleFile().c_str(), 0);
        CString token;
        double sum = 0, value = 0;
        int count = 0;
        while (file.ReadToDelimit(&token)) {
            file.ReadToDelimit(&token);
            file.ReadToDelimit(&token);
            file.ReadDouble(&value);
            file.ReadInteger(&count);
            file.ReadDouble(&value);
            sum += value + count;
        }
        benchmark::DoNotOptimize(sum);
        state.SetBytesProcessed(state.bytes_processed() +
                                static_cast<int64_t>(file.GetFileLength()));
    }
}
BENCHMARK(readTokensAndNumbers);

} // namespace

BENCHMARK_MAIN();
