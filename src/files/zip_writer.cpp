#include "files/zip_writer.h"

#include <zip.h>

#include "files/workbook_file.h"

namespace tezlo {

namespace {

// Deflate level: the parts are repetitive XML, which a fast level packs almost as well.
constexpr zip_uint32_t kDeflateLevel = 1;

std::string ErrorText(zip_error_t* error) { return zip_error_strerror(error); }

}  // namespace

void ZipWriter::Add(std::string name, std::string bytes, bool compress) {
  parts_.push_back(Part{std::move(name), std::make_unique<std::string>(std::move(bytes)), compress});
}

std::string ZipWriter::Bytes(const std::string& what) const {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (buffer == nullptr) {
    const std::string text = ErrorText(&error);
    zip_error_fini(&error);
    throw FileError("cannot save " + what + ": " + text);
  }
  // The archive frees its source on close; keep it to read the result back.
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  if (archive == nullptr) {
    const std::string text = ErrorText(&error);
    zip_error_fini(&error);
    zip_source_free(buffer);
    throw FileError("cannot save " + what + ": " + text);
  }
  zip_error_fini(&error);
  auto fail = [&](const std::string& step, const std::string& text) {
    zip_source_free(buffer);
    throw FileError("cannot save " + what + ": " + step + ": " + text);
  };
  for (const auto& [name, bytes, compress] : parts_) {
    zip_source_t* source = zip_source_buffer(archive, bytes->data(), bytes->size(), 0);
    zip_int64_t index = source == nullptr ? -1 : zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0 && source != nullptr) zip_source_free(source);
    const zip_int32_t method = compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE;
    if (index < 0 ||
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), method, compress ? kDeflateLevel : 0) != 0) {
      const std::string text = zip_strerror(archive);
      zip_discard(archive);
      fail("cannot add " + name, text);
    }
  }
  if (zip_close(archive) != 0) {
    const std::string text = zip_strerror(archive);
    zip_discard(archive);
    fail("cannot pack the parts", text);
  }
  std::string out;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_source_stat(buffer, &st) != 0 || zip_source_open(buffer) != 0) {
    fail("cannot read the packed parts", zip_error_strerror(zip_source_error(buffer)));
  }
  out.resize(static_cast<size_t>(st.size));
  const zip_int64_t got = zip_source_read(buffer, out.data(), out.size());
  zip_source_close(buffer);
  if (got < 0 || static_cast<size_t>(got) != out.size()) {
    fail("cannot read the packed parts", zip_error_strerror(zip_source_error(buffer)));
  }
  zip_source_free(buffer);
  return out;
}

}  // namespace tezlo
