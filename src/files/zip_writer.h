// Writes a zip archive of in-memory parts with libzip.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tezlo {

class ZipWriter {
 public:
  // Adds a part; the writer keeps the bytes until Write. A part not worth compressing (a
  // picture, already packed) is stored as it is.
  void Add(std::string name, std::string bytes, bool compress = true);
  // Writes the archive to `path` (created or truncated), deflating every part at a fast level.
  // FileError on failure.
  void Write(const std::string& path, const std::string& what) const;

 private:
  struct Part {
    std::string name;
    std::unique_ptr<std::string> bytes;
    bool compress;
  };
  std::vector<Part> parts_;
};

}  // namespace tezlo
