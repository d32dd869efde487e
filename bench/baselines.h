#pragma once

// What Tallyfold is measured against: the shapelib C library reading and writing the same
// table, and plain block-wise reads and writes of the same number of bytes.

#include <cstdint>
#include <string>

#include "box/card_box.h"

namespace tallyfold::bench {

/// Reads every field of every record with shapelib; returns the records read, or -1.
long ShapelibRead(const std::string& path);
/// Writes every card of `box` with shapelib into a new table of the vocabulary layout.
bool ShapelibWrite(const std::string& path, tCardBox& box);
bool HaveShapelib();

/// Reads the whole file in 64 KiB blocks; returns the bytes read.
std::uint64_t BlockRead(const std::string& path);
/// Writes `bytes` bytes in 64 KiB blocks, then forces them to the disk.
bool BlockWrite(const std::string& path, std::uint64_t bytes);

}  // namespace tallyfold::bench
