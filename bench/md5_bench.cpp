// Throughput of the core's MD5 against OpenSSL's, over the same 64 MiB buffer
// in the same run, fed in the 1024-byte pieces the file routine uses and in
// one piece. The machine is shared and noisy, so the runs are interleaved and
// repeated, and what counts is the median ratio printed at the end.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <algorithm>
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

// Prints the aggregates as the console reporter does, and keeps every run's
// throughput. Repetitions run in rounds, each benchmark once per round in a
// random order, so a core run and an OpenSSL run of the same round saw the
// same machine: the ratio reported is the median of the per-round ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        std::vector<Run> aggregates;
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate)
                aggregates.push_back(run);
            else
                m_throughput[run.run_name.args][run.run_name.function_name][run.repetition_index] =
                    run.counters.at("bytes_per_second");
        }
        ConsoleReporter::ReportRuns(aggregates);
    }

    void printRatios() const
    {
        std::printf("\nCore against OpenSSL (same buffer, same rounds), medians:\n");
        for (const auto &bySize : m_throughput) {
            const auto core = bySize.second.find("core");
            const auto openssl = bySize.second.find("openssl");
            if (core == bySize.second.end() || openssl == bySize.second.end())
                continue;
            std::vector<double> coreSpeeds, opensslSpeeds, ratios;
            for (const auto &round : core->second) {
                const auto other = openssl->second.find(round.first);
                if (other == openssl->second.end())
                    continue;
                coreSpeeds.push_back(round.second);
                opensslSpeeds.push_back(other->second);
                ratios.push_back(round.second / other->second);
            }
            if (ratios.empty())
                continue;
            std::printf("  pieces of %8s bytes: core %7.1f MiB/s, OpenSSL %7.1f MiB/s, ratio %.3f\n",
                        bySize.first.c_str(), median(coreSpeeds) / (1 << 20),
                        median(opensslSpeeds) / (1 << 20), median(ratios));
        }
    }

private:
    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }

    // piece size -> benchmark -> round -> bytes per second
    std::map<std::string, std::map<std::string, std::map<std::int64_t, double>>> m_throughput;
};

} // namespace

int main(int argc, char **argv)
{
    // Defaults that make the ratio meaningful; the command line may override them.
    std::vector<char *> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=15";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, {&repetitions[0], &interleave[0]});
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
