// The archives the writer makes, with parts deflated in pieces on worker threads: random parts
// (empty, small, several pieces long, compressible and not, stored or deflated), in the ordinary
// form and with Zip64 records, read back by libzip and by Python's zipfile, which checks each
// part's CRC; and the pieces of one part joined into one stream that zlib inflates, whether the
// part was given whole or in pieces as it was made.
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <random>
#include <string>

#include "files/parallel_deflate.h"
#include "files/zip_writer.h"
#include "test_files.h"

namespace tezlo {
namespace {

std::string RandomBytes(std::mt19937& rng, size_t size) {
  std::string out(size, '\0');
  const bool text = rng() % 2 == 0;  // repetitive XML-like text, or noise
  for (size_t i = 0; i < size; ++i) {
    out[i] = text ? "<c r=\"A1\"><v>12</v></c>"[(i + rng() % 3) % 23] : static_cast<char>(rng());
  }
  return out;
}

std::string Inflate(const std::string& raw, size_t size) {
  z_stream zs{};
  EXPECT_EQ(inflateInit2(&zs, -MAX_WBITS), Z_OK);
  std::string out(size + 1, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
  zs.avail_in = static_cast<uInt>(raw.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&zs, Z_FINISH), Z_STREAM_END);
  EXPECT_EQ(zs.avail_in, 0u);  // nothing after the final block
  out.resize(zs.total_out);
  inflateEnd(&zs);
  return out;
}

TEST(ParallelDeflate, PiecesJoinIntoOneStreamWithTheWholeCrc) {
  std::mt19937 rng(5);
  ParallelDeflate deflate(1, 97);
  std::vector<std::string> parts;
  for (size_t size : {0u, 1u, 96u, 97u, 98u, 5000u, 123457u})
    parts.push_back(RandomBytes(rng, size));
  parts.reserve(2 * parts.size());  // what is being deflated must not move
  std::vector<size_t> tickets;
  for (const std::string& p : parts) tickets.push_back(deflate.Start(p));
  // The same parts again, given in random pieces (some empty) as a part being made is.
  for (size_t i = 0, count = parts.size(); i < count; ++i) {
    parts.push_back(parts[i]);
    const std::string& whole = parts.back();
    const size_t ticket = deflate.Open();
    for (size_t at = 0; at < whole.size();) {
      const size_t n = std::min<size_t>(whole.size() - at, rng() % 3 == 0 ? 0 : rng() % 400);
      deflate.Append(ticket, std::string_view(whole).substr(at, n));
      at += n;
    }
    deflate.Close(ticket);
    tickets.push_back(ticket);
  }
  for (size_t i = parts.size(); i-- > 0;) {  // taken out of order
    const ParallelDeflate::Packed packed = deflate.Take(tickets[i]);
    EXPECT_EQ(Inflate(packed.bytes, parts[i].size()), parts[i]) << parts[i].size();
    EXPECT_EQ(packed.crc,
              crc32_z(0, reinterpret_cast<const Bytef*>(parts[i].data()), parts[i].size()));
  }
}

TEST(ZipWriter, RandomArchivesReadBackByLibzipAndPython) {
  testing::ScratchDir dir;
  std::mt19937 rng(11);
  for (int round = 0; round < 6; ++round) {
    std::map<std::string, std::string> parts;
    ZipWriter zip;
    if (round % 2 == 1) zip.ForceZip64();
    const int count = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < count; ++i) {
      const size_t size = rng() % 4 == 0 ? (rng() % (3 << 20)) : rng() % 3000;
      const std::string name =
          (i % 3 == 0 ? "xl/media/图片" : "xl/part") + std::to_string(i) + ".xml";
      parts[name] = RandomBytes(rng, size);
      if (rng() % 3 == 0) {
        const size_t part = zip.Open(name);  // given in pieces
        for (size_t at = 0; at < size;) {
          const size_t n = std::min<size_t>(size - at, rng() % (size / 3 + 2));
          zip.Append(part, parts[name].substr(at, n));
          at += n;
        }
        zip.Close(part);
      } else {
        zip.Add(name, parts[name], rng() % 4 != 0);
      }
    }
    const std::string bytes = zip.Bytes("'test.xlsx'");
    EXPECT_EQ(testing::ReadZip(bytes), parts) << "round " << round;
    const std::string path = dir.Path("round" + std::to_string(round) + ".zip");
    testing::WriteFileBytes(path, bytes);
    const std::string check =
        "/usr/bin/python3 -c \"import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
        "sys.exit(1 if z.testzip() is not None or len(z.namelist()) != int(sys.argv[2]) else 0)\" "
        "'" +
        path + "' " + std::to_string(count);
    EXPECT_EQ(std::system(check.c_str()), 0) << "round " << round;
  }
}

}  // namespace
}  // namespace tezlo
