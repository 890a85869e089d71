#include "files/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <utility>

#include "files/workbook_file.h"

namespace tezlo {

namespace {

// Deflate level: the parts are repetitive XML, which a fast level packs almost as well.
constexpr int kDeflateLevel = 1;

constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr uint32_t kCentralHeader = 0x02014b50;
constexpr uint32_t kEndOfDirectory = 0x06054b50;
constexpr uint32_t kZip64EndOfDirectory = 0x06064b50;
constexpr uint32_t kZip64Locator = 0x07064b50;
constexpr uint16_t kZip64Extra = 0x0001;
constexpr uint16_t kUtf8Names = 0x0800;
constexpr uint16_t kVersion = 20;  // deflate
constexpr uint16_t kVersionZip64 = 45;
constexpr uint16_t kMadeByUnix = 3 << 8;
constexpr uint32_t kFileMode = 0100644u << 16;  // a regular file, rw-r--r--
constexpr uint32_t kMax32 = 0xFFFFFFFFu;
constexpr uint16_t kMax16 = 0xFFFFu;

void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}
void Put64(std::string& out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v & kMax32));
  Put32(out, static_cast<uint32_t>(v >> 32));
}

// The archive's time stamp: now, in the MS-DOS form, local time.
std::pair<uint16_t, uint16_t> DosTimeAndDate() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  const int year = std::clamp(t.tm_year + 1900, 1980, 2107);
  return {static_cast<uint16_t>((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2)),
          static_cast<uint16_t>(((year - 1980) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday)};
}

struct Entry {
  const std::string* name;
  uint16_t method;
  uint32_t crc;
  uint64_t size;
  uint64_t packed;
  uint64_t offset;
  bool zip64;
};

// The fields a local header and the directory's entry share, from the version needed to the
// name's length (sizes that need Zip64 are in its extra field).
void PutEntryFields(std::string& out, const Entry& e, uint16_t time, uint16_t date) {
  Put16(out, e.zip64 ? kVersionZip64 : kVersion);
  Put16(out, kUtf8Names);
  Put16(out, e.method);
  Put16(out, time);
  Put16(out, date);
  Put32(out, e.crc);
  Put32(out, e.zip64 ? kMax32 : static_cast<uint32_t>(e.packed));
  Put32(out, e.zip64 ? kMax32 : static_cast<uint32_t>(e.size));
  Put16(out, static_cast<uint16_t>(e.name->size()));
}

}  // namespace

ZipWriter::ZipWriter() : deflate_(kDeflateLevel) {}

void ZipWriter::Add(std::string name, std::string bytes, bool compress) {
  Part part{std::move(name), std::make_unique<std::string>(std::move(bytes)), compress, {}, 0,
            std::nullopt};
  if (compress) part.ticket = deflate_.Start(*part.bytes);
  parts_.push_back(std::move(part));
}

void ZipWriter::AddPacked(std::string name, PackedPart packed) {
  Part part{std::move(name), nullptr, false, {}, 0, std::move(packed)};
  parts_.push_back(std::move(part));
}

size_t ZipWriter::Open(std::string name) {
  Part part{std::move(name), nullptr, true, {}, deflate_.Open(), std::nullopt};
  parts_.push_back(std::move(part));
  return parts_.size() - 1;
}

void ZipWriter::Append(size_t part, std::string bytes) {
  Part& p = parts_.at(part);
  p.pieces.push_back(std::make_unique<std::string>(std::move(bytes)));
  deflate_.Append(p.ticket, *p.pieces.back());
}

void ZipWriter::Close(size_t part) { deflate_.Close(parts_.at(part).ticket); }

std::string ZipWriter::Bytes(const std::string& what) {
  const auto [time, date] = DosTimeAndDate();
  // Every part packed first, so that the archive is allocated once.
  std::vector<ParallelDeflate::Packed> packs(parts_.size());
  size_t total = 0;
  for (size_t i = 0; i < parts_.size(); ++i) {
    Part& part = parts_[i];
    if (part.name.empty() || part.name.size() > kMax16)
      throw FileError("cannot save " + what + ": a part has no usable name");
    ParallelDeflate::Packed& packed = packs[i];
    if (part.packed) {
      packed.crc = part.packed->crc;
    } else if (part.compress) {
      packed = deflate_.Take(part.ticket);
      part.bytes.reset();
      part.pieces.clear();
    } else {
      packed.crc = static_cast<uint32_t>(
          crc32_z(0, reinterpret_cast<const Bytef*>(part.bytes->data()), part.bytes->size()));
    }
    const size_t data = part.packed     ? part.packed->bytes->size()
                        : part.compress ? packed.bytes.size()
                                        : part.bytes->size();
    total += data + 2 * part.name.size() + 160;  // the headers, with room for Zip64 fields
  }
  std::string out;
  out.reserve(total + 100);
  std::vector<Entry> entries;
  entries.reserve(parts_.size());
  for (size_t i = 0; i < parts_.size(); ++i) {
    Part& part = parts_[i];
    ParallelDeflate::Packed& packed = packs[i];
    const std::string& data = part.packed     ? *part.packed->bytes
                              : part.compress ? packed.bytes
                                              : *part.bytes;
    const uint16_t method =
        part.packed ? part.packed->method : static_cast<uint16_t>(part.compress ? Z_DEFLATED : 0);
    const uint64_t size = part.packed     ? part.packed->size
                          : part.compress ? packed.size
                                          : part.bytes->size();
    Entry e{&part.name, method, packed.crc, size, data.size(), out.size(), false};
    e.zip64 = forceZip64_ || e.size >= kMax32 || e.packed >= kMax32 || e.offset >= kMax32;
    Put32(out, kLocalHeader);
    PutEntryFields(out, e, time, date);
    Put16(out, e.zip64 ? 20 : 0);
    out += part.name;
    if (e.zip64) {
      Put16(out, kZip64Extra);
      Put16(out, 16);
      Put64(out, e.size);
      Put64(out, e.packed);
    }
    out += data;
    entries.push_back(e);
    // What is in the archive is no longer needed.
    part.bytes.reset();
    part.packed.reset();
    std::string().swap(packed.bytes);
  }
  const uint64_t directory = out.size();
  for (const Entry& e : entries) {
    Put32(out, kCentralHeader);
    Put16(out, static_cast<uint16_t>(kMadeByUnix | kVersionZip64));
    PutEntryFields(out, e, time, date);
    Put16(out, e.zip64 ? 28 : 0);
    Put16(out, 0);  // comment
    Put16(out, 0);  // disk
    Put16(out, 0);  // internal attributes
    Put32(out, kFileMode);
    Put32(out, e.zip64 ? kMax32 : static_cast<uint32_t>(e.offset));
    out += *e.name;
    if (e.zip64) {
      Put16(out, kZip64Extra);
      Put16(out, 24);
      Put64(out, e.size);
      Put64(out, e.packed);
      Put64(out, e.offset);
    }
  }
  const uint64_t directorySize = out.size() - directory;
  const uint64_t count = entries.size();
  const bool zip64 =
      forceZip64_ || count >= kMax16 || directory >= kMax32 || directorySize >= kMax32;
  if (zip64) {
    const uint64_t record = out.size();
    Put32(out, kZip64EndOfDirectory);
    Put64(out, 44);  // the record's size after this field
    Put16(out, static_cast<uint16_t>(kMadeByUnix | kVersionZip64));
    Put16(out, kVersionZip64);
    Put32(out, 0);  // this disk
    Put32(out, 0);  // the directory's disk
    Put64(out, count);
    Put64(out, count);
    Put64(out, directorySize);
    Put64(out, directory);
    Put32(out, kZip64Locator);
    Put32(out, 0);
    Put64(out, record);
    Put32(out, 1);  // disks
  }
  Put32(out, kEndOfDirectory);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, zip64 ? kMax16 : static_cast<uint16_t>(count));
  Put16(out, zip64 ? kMax16 : static_cast<uint16_t>(count));
  Put32(out, zip64 ? kMax32 : static_cast<uint32_t>(directorySize));
  Put32(out, zip64 ? kMax32 : static_cast<uint32_t>(directory));
  Put16(out, 0);  // comment
  return out;
}

}  // namespace tezlo
