// A part as its archive holds it, still packed: what a save needs to write it back without
// unpacking and packing it again (pictures and other binary parts the engine never looks into).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tezlo {

struct PackedPart {
  uint16_t method = 0;                       // 0 stored, 8 deflated
  uint32_t crc = 0;                          // of the unpacked bytes
  uint64_t size = 0;                         // unpacked
  std::shared_ptr<const std::string> bytes;  // as packed
};

}  // namespace tezlo
