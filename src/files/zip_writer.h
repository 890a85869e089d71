// Writes a zip archive of in-memory parts with libzip.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tezlo {

class ZipWriter {
 public:
  // Adds a part; the writer keeps the bytes until Write.
  void Add(std::string name, std::string bytes);
  // Writes the archive to `path` (created or truncated), deflating every part at a fast level.
  // FileError on failure.
  void Write(const std::string& path, const std::string& what) const;
  // The same archive as bytes in memory.
  std::string Bytes(const std::string& what) const;

 private:
  std::vector<std::pair<std::string, std::unique_ptr<std::string>>> parts_;
};

}  // namespace tezlo
