// Throughput of the core's MD5 against OpenSSL's, over the same 64 MiB buffer
// in the same run, fed in the 1024-byte pieces the file routine uses and in
// one piece. The machine is shared and noisy, so the runs are interleaved and
// repeated, and what counts is the ratio of the medians printed at the end.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "md5.h"

namespace {

const std::size_t BUFFER_SIZE = 64u << 20;

const std::vector<unsigned char> &buffer()
{
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> b(BUFFER_SIZE);
        std::uint32_t x = 2463534242u;
        for (unsigned char &c : b) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = static_cast<unsigned char>(x);
        }
        return b;
    }();
    return bytes;
}

void core(benchmark::State &state)
{
    const std::size_t piece = static_cast<std::size_t>(state.range(0));
    const std::vector<unsigned char> &bytes = buffer();
    unsigned char digest[16];
    for (auto _ : state) {
        MD5_CTX context;
        MD5Init(&context);
        for (std::size_t off = 0; off < bytes.size(); off += piece)
            MD5Update(&context, bytes.data() + off, static_cast<std::uint32_t>(piece));
        MD5Final(digest, &context);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void openssl(benchmark::State &state)
{
    const std::size_t piece = static_cast<std::size_t>(state.range(0));
    const std::vector<unsigned char> &bytes = buffer();
    unsigned char digest[16];
    EVP_MD_CTX *ctx = EVP_MD_CTX_new();
    for (auto _ : state) {
        EVP_DigestInit_ex(ctx, EVP_md5(), nullptr);
        for (std::size_t off = 0; off < bytes.size(); off += piece)
            EVP_DigestUpdate(ctx, bytes.data() + off, piece);
        EVP_DigestFinal_ex(ctx, digest, nullptr);
        benchmark::DoNotOptimize(digest);
    }
    EVP_MD_CTX_free(ctx);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(core)->Name("core")->Arg(1024)->Arg(BUFFER_SIZE)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(openssl)->Name("openssl")->Arg(1024)->Arg(BUFFER_SIZE)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints what the console reporter prints, and keeps the median throughput
// of each benchmark to compare them afterwards.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_medians[run.run_name.function_name + "/" + run.run_name.args] =
                    run.counters.at("bytes_per_second");
    }

    void printRatios() const
    {
        std::printf("\nMedian throughput, core against OpenSSL (same buffer, same run):\n");
        for (const char *piece : {"1024", "67108864"}) {
            const auto core = m_medians.find(std::string("core/") + piece);
            const auto openssl = m_medians.find(std::string("openssl/") + piece);
            if (core == m_medians.end() || openssl == m_medians.end())
                continue;
            std::printf("  pieces of %8s bytes: core %7.1f MiB/s, OpenSSL %7.1f MiB/s, ratio %.3f\n",
                        piece, core->second / (1 << 20), openssl->second / (1 << 20),
                        core->second / openssl->second);
        }
    }

private:
    std::map<std::string, double> m_medians;
};

} // namespace

int main(int argc, char **argv)
{
    // Defaults that make the ratio meaningful; the command line may override them.
    std::vector<char *> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=9";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {&repetitions[0], &interleave[0], &aggregates[0]});
    int count = static_cast<int>(args.size());

    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    buffer();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
