#include "files/zip_writer.h"

#include <zip.h>

#include <memory>

#include "files/workbook_file.h"

namespace tezlo {

namespace {

// Deflate level: the parts are repetitive XML, which a fast level packs almost as well.
constexpr zip_uint32_t kDeflateLevel = 1;

}  // namespace

void ZipWriter::Add(std::string name, std::string bytes) {
  parts_.emplace_back(std::move(name), std::make_unique<std::string>(std::move(bytes)));
}

namespace {

// Adds the parts to an open archive and closes it; on failure discards it and throws.
void AddAndClose(zip_t* archive, const std::vector<std::pair<std::string, std::unique_ptr<std::string>>>& parts,
                 const std::string& what) {
  auto fail = [&](const std::string& step) {
    const std::string text = step + ": " + zip_strerror(archive);
    zip_discard(archive);
    throw FileError("cannot save " + what + ": " + text);
  };
  for (const auto& [name, bytes] : parts) {
    zip_source_t* source = zip_source_buffer(archive, bytes->data(), bytes->size(), 0);
    if (source == nullptr) fail("cannot add " + name);
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      fail("cannot add " + name);
    }
    if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, kDeflateLevel) != 0) {
      fail("cannot compress " + name);
    }
  }
  if (zip_close(archive) != 0) fail("cannot write the file");
}

[[noreturn]] void Fail(zip_error_t& error, const std::string& what) {
  const std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  throw FileError("cannot save " + what + ": " + text);
}

}  // namespace

void ZipWriter::Write(const std::string& path, const std::string& what) const {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (archive == nullptr) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    Fail(error, what);
  }
  AddAndClose(archive, parts_, what);
}

std::string ZipWriter::Bytes(const std::string& what) const {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (buffer == nullptr) Fail(error, what);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  if (archive == nullptr) {
    zip_source_free(buffer);
    Fail(error, what);
  }
  zip_source_keep(buffer);  // closing the archive writes into it; the bytes are read after
  std::unique_ptr<zip_source_t, decltype(&zip_source_free)> owned(buffer, &zip_source_free);
  AddAndClose(archive, parts_, what);
  zip_stat_t stat;
  if (zip_source_stat(buffer, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 || zip_source_open(buffer) != 0) {
    throw FileError("cannot save " + what + ": the archive cannot be read back");
  }
  std::string bytes(static_cast<size_t>(stat.size), '\0');
  const zip_int64_t read = zip_source_read(buffer, bytes.data(), stat.size);
  zip_source_close(buffer);
  if (read != static_cast<zip_int64_t>(stat.size)) throw FileError("cannot save " + what + ": the archive cannot be read back");
  zip_error_fini(&error);
  return bytes;
}

}  // namespace tezlo
