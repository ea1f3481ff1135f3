#include "image_shape.h"

#include <algorithm>

#include "core/sector.h"
#include "image/image_format.h"

std::vector<std::uint8_t> ShapedImage(const std::uint8_t* input, std::size_t size) {
  if (size == 0) return {};
  const auto shape = static_cast<ImageShape>(input[0] % kImageShapes);
  std::vector<std::uint8_t> file(input + 1, input + size);
  switch (shape) {
    case ImageShape::kAsIs:
      break;
    case ImageShape::kAtDiscHeader:
      file.insert(file.begin(), kDiscHeaderOffset, 0);
      break;
    case ImageShape::kRawSize:
      file.resize(kRawImageSize, 0);
      break;
    case ImageShape::kWholeSectors:
      file.resize((file.size() + SectorSize - 1) / SectorSize * SectorSize, 0);
      break;
  }
  return file;
}

std::vector<std::uint8_t> ShapeInput(ImageShape shape, const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint8_t> input{static_cast<std::uint8_t>(shape)};
  auto begin = bytes.begin();
  if (shape == ImageShape::kAtDiscHeader) begin += std::min(bytes.size(), kDiscHeaderOffset);
  auto end = bytes.end();
  if (shape != ImageShape::kAsIs) {
    while (end != begin && *(end - 1) == 0) --end;
  }
  input.insert(input.end(), begin, end);
  return input;
}
