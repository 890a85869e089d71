// Builds a zip archive of in-memory parts with libzip.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tezlo {

class ZipWriter {
 public:
  // Adds a part; the writer keeps the bytes until Bytes. A part not worth compressing (a
  // picture, already packed) is stored as it is.
  void Add(std::string name, std::string bytes, bool compress = true);
  // The whole archive, every other part deflated at a fast level. The archive is made in memory
  // so that the caller decides where and how it reaches the disk (libzip's own file writing
  // renames a temporary file of its own over the target). FileError naming `what` on failure.
  std::string Bytes(const std::string& what) const;

 private:
  struct Part {
    std::string name;
    std::unique_ptr<std::string> bytes;
    bool compress;
  };
  std::vector<Part> parts_;
};

}  // namespace tezlo
