// BinFile::WordSum32: the 32-bit checksum of disc images and DriveFirme.img.
// Disc images run to hundreds of MiB, so the sum is taken 32 bytes at a time
// where the compiler offers vector types (with AVX2 where the CPU has it).
#include <bit>
#include <cstring>

#include "core/big_endian.h"
#include "image/bin_file.h"

namespace {

#if defined(__GNUC__)
using Lanes = std::uint32_t __attribute__((vector_size(32)));
constexpr std::size_t kLaneBytes = sizeof(Lanes);
constexpr int kLanes = kLaneBytes / 4;

#if defined(__x86_64__) && defined(__ELF__)
#define WIDEST_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define WIDEST_VECTORS
#endif

// Sums the big-endian words of whole 8192-byte blocks from a little-endian
// load: (w & 0x00FF00FF) holds bytes 0 and 2 of a word and
// ((w >> 8) & 0x00FF00FF) bytes 1 and 3, each in its own 16-bit half, which
// 256 rounds cannot overflow. The byte sums are then weighed by position.
// Returns the sum; `done` is how many bytes it covered.
WIDEST_VECTORS std::uint32_t SumBlocks(const std::uint8_t* data, std::size_t count,
                                       std::size_t& done) {
  constexpr std::size_t kBlock = kLaneBytes * 256;
  std::uint32_t sum = 0;
  for (done = 0; done + kBlock <= count; done += kBlock) {
    Lanes even = {}, odd = {};
    for (std::size_t k = 0; k < kBlock; k += kLaneBytes) {
      Lanes w;
      std::memcpy(&w, data + done + k, kLaneBytes);
      even += w & 0x00FF00FF;
      odd += (w >> 8) & 0x00FF00FF;
    }
    for (int lane = 0; lane < kLanes; ++lane) {
      sum += ((even[lane] & 0xFFFF) << 24) + ((odd[lane] & 0xFFFF) << 16) +
             ((even[lane] >> 16) << 8) + (odd[lane] >> 16);
    }
  }
  return sum;
}
#endif

}  // namespace

std::uint32_t BinFile::WordSum32(const std::uint8_t* data, std::int64_t byteCount) {
  if (byteCount <= 0) return 0;
  std::size_t count = static_cast<std::size_t>(byteCount);
  std::size_t done = 0;
  std::uint32_t sum = 0;
#if defined(__GNUC__)
  if constexpr (std::endian::native == std::endian::little) sum = SumBlocks(data, count, done);
#endif
  for (; done + 4 <= count; done += 4) sum += ReadBE32(data + done);
  if (done < count) {
    std::uint8_t last[4] = {};
    std::memcpy(last, data + done, count - done);
    sum += ReadBE32(last);
  }
  return sum;
}
