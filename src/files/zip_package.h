// The zip archive of a workbook package, read part by part with every part's unpacked size
// counted while it inflates (never trusted from the headers).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "files/packed_part.h"

struct zip;

namespace tezlo {

class XmlHandler;
class ArrivingBytes;

struct ZipLimits {
  int64_t maxPartBytes;     // one part, unpacked
  int64_t maxPackageBytes;  // all parts read, unpacked
  int64_t maxEntries;       // entries in the archive
};

// Streams a document held in memory through an XML handler; `what` names it in messages. The
// children of the root's child `quickParent`, when one is named, are read quickly where they are
// plain (XmlReader::ReadDocument).
void ParseXmlBytes(std::string_view document, const std::string& what, XmlHandler& handler,
                   std::string_view quickParent = {});

class ZipPackage {
 public:
  // From a file, or from bytes the caller keeps alive as long as the package. `what` names the
  // file in messages. FileError for anything that is not a readable zip archive.
  static ZipPackage FromFile(const std::string& path, const std::string& what, ZipLimits limits);
  static ZipPackage FromMemory(std::string_view bytes, const std::string& what, ZipLimits limits);
  ZipPackage(ZipPackage&& other) noexcept;
  ZipPackage& operator=(ZipPackage&&) = delete;
  ZipPackage(const ZipPackage&) = delete;
  ~ZipPackage();

  // Entry names in archive order (folders left out).
  const std::vector<std::string>& Names() const { return names_; }
  // The entry whose name matches `part` without regard to case (part names are
  // case-insensitive), or -1.
  int64_t Find(std::string_view part) const;
  // Streams the part through an XML handler. FileError for a damaged entry, a part unpacking
  // past the limits, or bad XML. With `bytes`, the part's bytes are also kept there (for a part
  // written back as it was read).
  void ParseXml(int64_t index, XmlHandler& handler, std::string* bytes = nullptr);
  // The part's bytes, unpacked, counted against the same limits.
  std::string ReadBytes(int64_t index);
  // The part's bytes, unpacked on a thread of their own while the caller reads those already
  // there, counted against the same limits (a part the archive states no usable size for is
  // unpacked first). The package must not be used otherwise until the result is complete or
  // destroyed.
  std::unique_ptr<ArrivingBytes> ReadArriving(int64_t index);
  // The part's bytes as the archive holds them (stored or deflated), counted against the same
  // limits by the size it declares; nullopt for other methods and encrypted parts, which are
  // read with ReadBytes.
  std::optional<PackedPart> ReadPacked(int64_t index);

 private:
  ZipPackage(zip* archive, std::string what, ZipLimits limits);
  // Reads the part piece by piece, handing each piece (an empty one last) to `sink`.
  template <class Sink>
  void Unpack(int64_t index, Sink&& sink);

  zip* archive_;
  std::string what_;
  ZipLimits limits_;
  int64_t unpacked_ = 0;
  std::vector<std::string> names_;
  std::unordered_map<std::string, int64_t> index_;  // lower-case name -> first entry of that name
};

}  // namespace tezlo
