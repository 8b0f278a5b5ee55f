// The lanes alone (md5lanes.h), on one processor: every path this processor
// has, all its lanes busy and, for the vector paths, only the first vector's
// (the lanes a path runs in one vector when no more are busy). Each lane
// hashes messages of 1 MiB given in 64 KiB pieces, as md5hex's pipeline
// gives them, a lane refilled as soon as its piece ends. The figure is the
// thread's processor time, so that other work on a shared machine costs
// little accuracy; the runs are taken in rounds, every measure once a round,
// and what is printed is each measure's median, and beside it the median
// of its rounds' ratios to the scalar core's.
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "md5lanes.h"

namespace {

const std::size_t MESSAGE = 1 << 20;
const std::size_t PIECE = 64 << 10;

double ThreadSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Measure {
    int path;
    int busy; // lanes kept busy
    const char *what;
    std::vector<double> speeds; // GB/s, one a round
};

// Bytes hashed a second when `busy` lanes of path hash one message each,
// all of `bytes`, in pieces.
double Speed(int path, int busy, const std::vector<unsigned char> &bytes)
{
    MD5_LANES lanes;
    MD5LanesInit(&lanes, path);
    std::vector<MD5_CTX> contexts(busy);
    std::vector<std::size_t> offset(busy, 0);
    for (MD5_CTX &context : contexts)
        MD5Init(&context);

    double start = ThreadSeconds();
    for (int i = 0; i < busy; i++)
        MD5LanesAdd(&lanes, &contexts[i], &bytes[i * MESSAGE], PIECE);
    for (int left = busy; left > 0;) {
        unsigned ended = MD5LanesRun(&lanes);
        for (int lane = 0; lane < busy; lane++) {
            if (!(ended & (1u << lane)))
                continue;
            // Lanes are filled lowest first: lane i hashes message i.
            offset[lane] += PIECE;
            if (offset[lane] < MESSAGE)
                MD5LanesAdd(&lanes, &contexts[lane], &bytes[lane * MESSAGE + offset[lane]], PIECE);
            else
                left--;
        }
    }
    double seconds = ThreadSeconds() - start;
    unsigned char digest[16];
    for (MD5_CTX &context : contexts)
        MD5Final(digest, &context);
    return (double)busy * MESSAGE / seconds / 1e9;
}

const char *PathName(int path)
{
    return path == MD5_PATH_AVX512 ? "avx512" : path == MD5_PATH_AVX2 ? "avx2" : "scalar";
}

} // namespace

int main(int argc, char **argv)
{
    int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    std::vector<unsigned char> bytes(MD5_LANES_MAX * MESSAGE);
    std::uint32_t x = 2463534242u;
    for (unsigned char &c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = (unsigned char)x;
    }

    std::vector<Measure> measures = {{MD5_PATH_SCALAR, 1, "one message", {}}};
    for (int path = MD5_PATH_AVX2; path <= MD5LanesSupported(); path++) {
        int width = MD5LanesWidth(path);
        measures.push_back({path, width / 2, "one vector", {}});
        measures.push_back({path, width, "all lanes", {}});
    }
    for (int round = 0; round <= rounds; round++) { // round 0 warms up
        for (Measure &m : measures) {
            double speed = Speed(m.path, m.busy, bytes);
            if (round > 0)
                m.speeds.push_back(speed);
        }
    }

    std::printf("lanes alone, one processor, messages of 1 MiB in 64 KiB pieces, %d rounds (medians):\n",
                rounds);
    std::printf("  %-7s %6s  %-12s %9s %12s\n", "path", "lanes", "", "GB/s", "/ scalar");
    for (const Measure &m : measures) {
        std::vector<double> ratios;
        for (std::size_t r = 0; r < m.speeds.size(); r++)
            ratios.push_back(m.speeds[r] / measures[0].speeds[r]);
        std::printf("  %-7s %6d  %-12s %9.2f %11.2fx\n", PathName(m.path), m.busy, m.what,
                    Median(m.speeds), Median(ratios));
    }
    return 0;
}
