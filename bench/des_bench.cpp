// Throughput of TEncryption::Execute (enciphering, with Output and HexOutput filled)
// against OpenSSL's DES_ecb_encrypt with a precomputed key schedule, over the same data
// in the same run. Each figure is the best of several timed rounds, ours and OpenSSL's
// taken in turn. The last line holds the ratios of ours to OpenSSL's.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "Des/Encryption.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5;
constexpr double kRoundSeconds = 0.4;

// Runs `work` (which handles `bytes` bytes) repeatedly for at least a round's time and
// returns the throughput in MB/s (10^6 bytes per second).
template <typename Work>
double MegabytesPerSecond(std::size_t bytes, Work work) {
  std::size_t runs = 0;
  const Clock::time_point start = Clock::now();
  double seconds = 0;
  do {
    work();
    ++runs;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < kRoundSeconds);
  return static_cast<double>(bytes) * static_cast<double>(runs) / seconds / 1e6;
}

std::string Label(std::size_t bytes) {
  if (bytes >= (1u << 20)) return std::to_string(bytes >> 20) + " MiB";
  if (bytes >= (1u << 10)) return std::to_string(bytes >> 10) + " KiB";
  return std::to_string(bytes) + " B";
}

}  // namespace

int main() {
  const std::size_t sizes[] = {64, 8 << 10, 64 << 20};
  std::mt19937_64 random(46);
  std::string data(sizes[2], '\0');
  for (char& c : data) c = static_cast<char>(random());

  TEncryption des;
  des.SetKey("meadows");
  des.SetAction(TActionType::Encryption);
  DES_cblock key = {'m', 'e', 'a', 'd', 'o', 'w', 's', 0};
  DES_key_schedule schedule;
  DES_set_key_unchecked(&key, &schedule);
  std::vector<unsigned char> openSslOut(sizes[2]);

  std::printf("Enciphering with the key \"meadows\", MB/s (10^6 bytes per second), best of %d rounds\n",
              kRounds);
  std::printf("%-8s %14s %14s %8s\n", "input", "Execute", "OpenSSL ECB", "ratio");
  double ratios[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::size_t size = sizes[i];
    des.SetInput(data.substr(0, size));
    auto* in = reinterpret_cast<unsigned char*>(&data[0]);
    auto execute = [&des] { des.Execute(); };
    auto openSsl = [&] {
      for (std::size_t at = 0; at < size; at += 8)
        DES_ecb_encrypt(reinterpret_cast<const_DES_cblock*>(in + at),
                        reinterpret_cast<DES_cblock*>(&openSslOut[at]), &schedule, DES_ENCRYPT);
    };
    execute();  // warm up: caches, buffers and pages
    openSsl();
    // Alternating rounds, so that both see the same load on a shared machine.
    double ours = 0, theirs = 0;
    for (int round = 0; round < kRounds; ++round) {
      ours = std::max(ours, MegabytesPerSecond(size, execute));
      theirs = std::max(theirs, MegabytesPerSecond(size, openSsl));
    }
    ratios[i] = ours / theirs;
    std::printf("%-8s %14.1f %14.1f %8.2f\n", Label(size).c_str(), ours, theirs, ratios[i]);
  }
  std::printf("RESULT ratio_8k=%.2f ratio_64m=%.2f\n", ratios[1], ratios[2]);
  return 0;
}
