#pragma once
// How the identification fuzzer turns its input into an image file, so
// that small inputs reach the large shapes: byte 0 picks the shape, the
// rest are the file's bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

enum class ImageShape : std::uint8_t {
  kAsIs,          // the bytes as they are
  kAtDiscHeader,  // 49152 zero bytes, then the bytes (a disc image's header sector on)
  kRawSize,       // cut or padded with zeros to 131072 bytes (a raw firmware image)
  kWholeSectors,  // padded with zeros to a whole number of sectors (a headed image)
};
inline constexpr int kImageShapes = 4;

// The file for an input; byte 0 modulo kImageShapes picks the shape.
std::vector<std::uint8_t> ShapedImage(const std::uint8_t* input, std::size_t size);
// The input that gives `bytes` (trailing zeros left to the shape).
std::vector<std::uint8_t> ShapeInput(ImageShape shape, const std::vector<std::uint8_t>& bytes);
