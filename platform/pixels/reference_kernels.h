#pragma once

#include <cstdint>

// The drawing rules pixel by pixel: the definition every fast path must match.
// The vector kernels also use these for row ends shorter than a vector.
namespace kv::pixels {

void blend_row_16(std::uint16_t* dst, const std::uint16_t* src, int count, int weight);
void blend_row_32(std::uint32_t* dst, const std::uint32_t* src, int count, int weight);
void keyed_row_16(std::uint16_t* dst, const std::uint16_t* src, int count);
void keyed_row_32(std::uint32_t* dst, const std::uint32_t* src, int count);

}  // namespace kv::pixels
