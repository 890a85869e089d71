#include "files/zip_writer.h"

#include <zip.h>

#include "files/workbook_file.h"

namespace tezlo {

namespace {

// Deflate level: the parts are repetitive XML, which a fast level packs almost as well.
constexpr zip_uint32_t kDeflateLevel = 1;

}  // namespace

void ZipWriter::Add(std::string name, std::string bytes, bool compress) {
  parts_.push_back(Part{std::move(name), std::make_unique<std::string>(std::move(bytes)), compress});
}

void ZipWriter::Write(const std::string& path, const std::string& what) const {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (archive == nullptr) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw FileError("cannot save " + what + ": " + text);
  }
  auto fail = [&](const std::string& step) {
    const std::string text = step + ": " + zip_strerror(archive);
    zip_discard(archive);
    throw FileError("cannot save " + what + ": " + text);
  };
  for (const auto& [name, bytes, compress] : parts_) {
    zip_source_t* source = zip_source_buffer(archive, bytes->data(), bytes->size(), 0);
    if (source == nullptr) fail("cannot add " + name);
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      fail("cannot add " + name);
    }
    const zip_int32_t method = compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE;
    if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), method, compress ? kDeflateLevel : 0) != 0) {
      fail("cannot compress " + name);
    }
  }
  if (zip_close(archive) != 0) fail("cannot write the file");
}

}  // namespace tezlo
