// MD5 throughput of GZorva.zGZorva_MD5 beside OpenSSL's MD5 over the same bytes.
//
// BM_Md5_Zorva and BM_Md5_OpenSSL give each side's throughput on its own. BM_Md5_Ratio runs
// both alternately in every iteration and reports ratio = OpenSSL time / our time (1.0 is
// parity, higher is faster than OpenSSL; the target is at least 0.7). Our side includes the
// whole call: the code-page conversion and the uppercase hexadecimal text.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <algorithm>
#include <string>

#include "BenchClock.h"
#include "foundation/GZorva.h"

namespace {

std::string asciiText(size_t size) {
  std::string s(size, ' ');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>('!' + (i * 31 + i / 7) % 94);
  return s;
}

// Every 16th character is "é" (two UTF-8 bytes, one code-page byte), so the conversion runs.
std::string latinText(size_t size) {
  std::string s;
  s.reserve(size);
  for (size_t i = 0; s.size() < size; ++i) {
    if (i % 16 == 15) {
      s += "\u00e9";
    } else {
      s += static_cast<char>('a' + i % 26);
    }
  }
  return s;
}

void opensslMd5(const std::string& bytes, unsigned char* out) {
  unsigned int n = 0;
  EVP_Digest(bytes.data(), bytes.size(), out, &n, EVP_md5(), nullptr);
}

void BM_Md5_Zorva(benchmark::State& state) {
  const std::string text = asciiText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(zxp::GZorva::global().zGZorva_MD5(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_Md5_OpenSSL(benchmark::State& state) {
  const std::string text = asciiText(static_cast<size_t>(state.range(0)));
  unsigned char out[EVP_MAX_MD_SIZE];
  for (auto _ : state) {
    opensslMd5(text, out);
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

// OpenSSL hashes the text's code-page bytes (what our call hashes after converting it).
// Each side runs a batch of about 256 KiB per timing, so the clock's own cost stays out.
void md5Ratio(benchmark::State& state, const std::string& text, const std::string& bytes) {
  const size_t batch = std::max<size_t>(1, (256u << 10) / bytes.size());
  unsigned char out[EVP_MAX_MD_SIZE];
  double ours = 0, theirs = 0;
  for (auto _ : state) {
    const double t0 = zxp::bench::threadSeconds();
    for (size_t i = 0; i < batch; ++i) benchmark::DoNotOptimize(zxp::GZorva::global().zGZorva_MD5(text));
    const double t1 = zxp::bench::threadSeconds();
    for (size_t i = 0; i < batch; ++i) {
      opensslMd5(bytes, out);
      benchmark::DoNotOptimize(out);
    }
    const double t2 = zxp::bench::threadSeconds();
    ours += t1 - t0;
    theirs += t2 - t1;
  }
  state.counters["ratio"] = theirs / ours;
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(batch * bytes.size() * 2));
}

void BM_Md5_Ratio(benchmark::State& state) {
  const std::string text = asciiText(static_cast<size_t>(state.range(0)));
  md5Ratio(state, text, text);
}

void BM_Md5_Ratio_Latin(benchmark::State& state) {
  const std::string text = latinText(static_cast<size_t>(state.range(0)));
  std::string bytes;  // the Windows-1252 form: "é" is E9
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) == 0xC3) {
      bytes += '\xE9';
      ++i;
    } else {
      bytes += text[i];
    }
  }
  md5Ratio(state, text, bytes);
}

BENCHMARK(BM_Md5_Zorva)->Arg(1 << 10)->Arg(1 << 20);
BENCHMARK(BM_Md5_OpenSSL)->Arg(1 << 10)->Arg(1 << 20);
BENCHMARK(BM_Md5_Ratio)->Arg(1 << 10)->Arg(1 << 20);
BENCHMARK(BM_Md5_Ratio_Latin)->Arg(1 << 10)->Arg(1 << 20);

}  // namespace
