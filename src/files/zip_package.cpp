#include "files/zip_package.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <memory>
#include <utility>

#include "files/arriving_bytes.h"
#include "files/ole_file.h"
#include "files/package_parts.h"
#include "files/workbook_file.h"
#include "files/xml_reader.h"
#include "text/ascii.h"

namespace tezlo {

namespace {

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

std::string OpenFailure(const std::string& what, int code) {
  switch (code) {
    case ZIP_ER_NOZIP: return what + " is not an xlsx workbook (not a zip archive)";
    case ZIP_ER_INCONS: return what + " is damaged (its zip structure is inconsistent; truncated?)";
    case ZIP_ER_EXISTS: return what + " is damaged: it holds two parts of the same name";
    case ZIP_ER_NOENT: return what + " does not exist";
    case ZIP_ER_OPEN:
    case ZIP_ER_READ: return "cannot read " + what + ": " + ZipErrorText(code);
    default: return "cannot open " + what + ": " + ZipErrorText(code);
  }
}

std::string MiB(int64_t bytes) {
  if (bytes < 1024 * 1024) return std::to_string(bytes) + " bytes";
  return std::to_string(bytes / (1024 * 1024)) + " MiB";
}

}  // namespace

ZipPackage::ZipPackage(zip* archive, std::string what, ZipLimits limits)
    : archive_(archive), what_(std::move(what)), limits_(limits) {
  const zip_int64_t count = zip_get_num_entries(archive_, 0);
  if (count < 0 || count > limits_.maxEntries) {
    zip_discard(archive_);
    archive_ = nullptr;
    throw FileError(what_ + " holds too many parts to be a workbook");
  }
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), 0);
    names_.emplace_back(name != nullptr ? name : "");
    index_.try_emplace(LowerAscii(names_.back()), i);
  }
}

ZipPackage::ZipPackage(ZipPackage&& other) noexcept
    : archive_(std::exchange(other.archive_, nullptr)),
      what_(std::move(other.what_)),
      limits_(other.limits_),
      unpacked_(other.unpacked_),
      names_(std::move(other.names_)),
      index_(std::move(other.index_)) {}

ZipPackage::~ZipPackage() {
  if (archive_ != nullptr) zip_discard(archive_);
}

ZipPackage ZipPackage::FromFile(const std::string& path, const std::string& what,
                                ZipLimits limits) {
  int code = 0;
  zip* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (archive == nullptr) {
    if (code == ZIP_ER_NOZIP) {
      // Enough of the file to find the streams an encrypted workbook holds.
      std::ifstream in(path, std::ios::binary);
      std::string head(std::size_t{16} << 20, '\0');
      in.read(head.data(), static_cast<std::streamsize>(head.size()));
      head.resize(static_cast<size_t>(in.gcount()));
      if (const auto ole = DescribeOleFile(head)) throw FileError(what + " " + *ole);
    }
    throw FileError(OpenFailure(what, code));
  }
  return ZipPackage(archive, what, limits);
}

ZipPackage ZipPackage::FromMemory(std::string_view bytes, const std::string& what,
                                  ZipLimits limits) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (source == nullptr) {
    zip_error_fini(&error);
    throw FileError("out of memory opening " + what);
  }
  zip* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (archive == nullptr) {
    const int code = zip_error_code_zip(&error);
    zip_source_free(source);
    zip_error_fini(&error);
    if (code == ZIP_ER_NOZIP) {
      if (const auto ole = DescribeOleFile(bytes)) throw FileError(what + " " + *ole);
    }
    throw FileError(OpenFailure(what, code));
  }
  zip_error_fini(&error);
  return ZipPackage(archive, what, limits);
}

int64_t ZipPackage::Find(std::string_view part) const {
  const auto it = index_.find(LowerAscii(part));
  return it == index_.end() ? -1 : it->second;
}

template <class Sink>
void ZipPackage::Unpack(int64_t index, Sink&& sink) {
  const std::string part = names_.at(static_cast<size_t>(index));
  auto closer = [](zip_file_t* f) { zip_fclose(f); };
  std::unique_ptr<zip_file_t, decltype(closer)> file(
      zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0), closer);
  if (!file) {
    throw FileError(what_ + " is damaged: cannot unpack " + part + " (" + zip_strerror(archive_) +
                    ")");
  }
  std::array<char, 1 << 16> buffer;
  int64_t partBytes = 0;
  while (true) {
    const zip_int64_t n = zip_fread(file.get(), buffer.data(), buffer.size());
    if (n < 0) {
      throw FileError(what_ + " is damaged: cannot unpack " + part + " (" +
                      zip_file_strerror(file.get()) + ")");
    }
    partBytes += n;
    unpacked_ += n;
    if (partBytes > limits_.maxPartBytes) {
      throw FileError(what_ + " is refused: " + part + " unpacks to more than " +
                      MiB(limits_.maxPartBytes));
    }
    if (unpacked_ > limits_.maxPackageBytes) {
      throw FileError(what_ + " is refused: it unpacks to more than " +
                      MiB(limits_.maxPackageBytes));
    }
    sink(std::string_view(buffer.data(), static_cast<size_t>(n)));
    if (n == 0) return;
  }
}

void ZipPackage::ParseXml(int64_t index, XmlHandler& handler, std::string* bytes) {
  XmlReader reader(handler, names_.at(static_cast<size_t>(index)) + " in " + what_);
  Unpack(index, [&reader, bytes](std::string_view piece) {
    if (bytes != nullptr) bytes->append(piece);
    reader.Feed(piece.data(), piece.size(), piece.empty());
  });
}

void ParseXmlBytes(std::string_view document, const std::string& what, XmlHandler& handler,
                   std::string_view quickParent) {
  XmlReader reader(handler, what);
  reader.ReadDocument(document, quickParent);
}

std::string ZipPackage::ReadBytes(int64_t index) {
  std::string bytes;
  zip_stat_t stat;
  if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
      (stat.valid & ZIP_STAT_SIZE) != 0 &&
      static_cast<int64_t>(stat.size) <= limits_.maxPartBytes) {
    // A hint only, bounded: the count while unpacking decides.
    bytes.reserve(static_cast<size_t>(std::min<zip_uint64_t>(stat.size, zip_uint64_t{64} << 20)));
  }
  Unpack(index, [&bytes](std::string_view piece) { bytes += piece; });
  return bytes;
}

std::unique_ptr<ArrivingBytes> ZipPackage::ReadArriving(int64_t index) {
  zip_stat_t stat;
  if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
      (stat.valid & ZIP_STAT_SIZE) == 0 ||
      stat.size > static_cast<zip_uint64_t>(limits_.maxPartBytes)) {
    // Unpacked first, so that the count decides and says why it stopped.
    return ArrivingBytes::Whole(ReadBytes(index));
  }
  return std::make_unique<ArrivingBytes>(static_cast<size_t>(stat.size), [this, index](
                                                                             ArrivingBytes& out) {
    Unpack(index, [this, index, &out](std::string_view piece) {
      if (!out.Append(piece)) {
        throw FileError(what_ + " is damaged: " + names_.at(static_cast<size_t>(index)) +
                        " unpacks to more than the archive says");
      }
    });
  });
}

std::optional<PackedPart> ZipPackage::ReadPacked(int64_t index) {
  const std::string& part = names_.at(static_cast<size_t>(index));
  zip_stat_t stat;
  constexpr zip_uint64_t kNeeded = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC |
                                   ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
  if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
      (stat.valid & kNeeded) != kNeeded ||
      (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE) ||
      stat.encryption_method != ZIP_EM_NONE) {
    return std::nullopt;
  }
  if (stat.size > static_cast<zip_uint64_t>(limits_.maxPartBytes)) {
    throw FileError(what_ + " is refused: " + part + " unpacks to more than " +
                    MiB(limits_.maxPartBytes));
  }
  unpacked_ += static_cast<int64_t>(stat.size);
  if (unpacked_ > limits_.maxPackageBytes) {
    throw FileError(what_ + " is refused: it unpacks to more than " + MiB(limits_.maxPackageBytes));
  }
  auto closer = [](zip_file_t* f) { zip_fclose(f); };
  std::unique_ptr<zip_file_t, decltype(closer)> file(
      zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), ZIP_FL_COMPRESSED), closer);
  if (!file)
    throw FileError(what_ + " is damaged: cannot read " + part + " (" + zip_strerror(archive_) +
                    ")");
  auto bytes = std::make_shared<std::string>();
  // A stored part is as long as it says; a deflated one cannot be longer than that by much.
  if (stat.comp_size > stat.size + stat.size / 8 + 1024) {
    throw FileError(what_ + " is damaged: " + part + " is packed larger than its content could be");
  }
  bytes->resize(static_cast<size_t>(stat.comp_size));
  const zip_int64_t n = zip_fread(file.get(), bytes->data(), bytes->size());
  if (n < 0 || static_cast<zip_uint64_t>(n) != stat.comp_size) {
    throw FileError(what_ + " is damaged: cannot read " + part + " (" +
                    zip_file_strerror(file.get()) + ")");
  }
  return PackedPart{static_cast<uint16_t>(stat.comp_method), stat.crc, stat.size, std::move(bytes)};
}

}  // namespace tezlo
