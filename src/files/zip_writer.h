// Builds a zip archive of in-memory parts. Each part is deflated on the machine's cores from the
// moment it is added, while the caller builds the next ones (parallel_deflate.h); the archive
// itself (local headers, central directory, and the Zip64 records where sizes or offsets need
// them) is written here.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/packed_part.h"
#include "files/parallel_deflate.h"

namespace tezlo {

class ZipWriter {
 public:
  ZipWriter();
  // Adds a part; the writer keeps the bytes until Bytes. A part not worth compressing (a
  // picture, already packed) is stored as it is.
  void Add(std::string name, std::string bytes, bool compress = true);
  // Adds a part packed already (read from another archive), written as it is.
  void AddPacked(std::string name, PackedPart packed);
  // Adds a part given in pieces as it is made, each deflating from the moment it is given:
  // Open returns the handle the others want; Close ends the part.
  size_t Open(std::string name);
  void Append(size_t part, std::string bytes);
  void Close(size_t part);
  // The whole archive, every other part deflated at a fast level. The archive is made in memory
  // so that the caller decides where and how it reaches the disk. FileError naming `what` when a
  // part cannot be packed; std::bad_alloc when memory runs out.
  std::string Bytes(const std::string& what);
  // Writes the Zip64 records for every part and the directory even where the sizes fit the
  // older fields (readers must accept both; tests use it).
  void ForceZip64() { forceZip64_ = true; }

 private:
  struct Part {
    std::string name;
    std::unique_ptr<std::string> bytes;
    bool compress;
    std::vector<std::unique_ptr<std::string>> pieces;  // of a part given in pieces
    size_t ticket = 0;
    std::optional<PackedPart> packed;
  };
  std::vector<Part> parts_;
  ParallelDeflate deflate_;
  bool forceZip64_ = false;
};

}  // namespace tezlo
