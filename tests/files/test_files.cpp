#include "test_files.h"

#include <zip.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace tezlo::testing {

ScratchDir::ScratchDir() {
  std::random_device rd;
  dir_ = std::filesystem::temp_directory_path() /
         ("tezlo-files-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(dir_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string MakeZip(const std::map<std::string, std::string>& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  if (archive == nullptr) throw std::runtime_error("cannot make a zip");
  for (const auto& [name, content] : parts) {
    zip_source_t* s = zip_source_buffer(archive, content.data(), content.size(), 0);
    zip_file_add(archive, name.c_str(), s, ZIP_FL_ENC_UTF_8);
  }
  if (zip_close(archive) != 0) throw std::runtime_error("cannot close a zip");
  zip_source_open(buffer);
  std::string out;
  char chunk[4096];
  zip_int64_t n;
  while ((n = zip_source_read(buffer, chunk, sizeof chunk)) > 0)
    out.append(chunk, static_cast<size_t>(n));
  zip_source_close(buffer);
  zip_source_free(buffer);
  zip_error_fini(&error);
  return out;
}

std::map<std::string, std::string> ReadZip(const std::string& bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* archive = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  zip_error_fini(&error);
  if (archive == nullptr) {
    if (source != nullptr) zip_source_free(source);
    throw std::runtime_error("not a zip archive");
  }
  std::map<std::string, std::string> parts;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    if (file == nullptr) continue;
    std::string content;
    char chunk[4096];
    zip_int64_t n;
    while ((n = zip_fread(file, chunk, sizeof chunk)) > 0)
      content.append(chunk, static_cast<size_t>(n));
    zip_fclose(file);
    parts[zip_get_name(archive, static_cast<zip_uint64_t>(i), 0)] = std::move(content);
  }
  zip_discard(archive);
  return parts;
}

std::string ContentTypesXml(int sheets) {
  std::string out =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/"
      ">";
  for (int i = 1; i <= sheets; ++i) {
    out += "<Override PartName=\"/xl/worksheets/sheet" + std::to_string(i) +
           ".xml\" "
           "ContentType=\"application/"
           "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
  }
  return out + "</Types>";
}

std::map<std::string, std::string> MinimalParts(const std::string& sheetData,
                                                const std::string& sheetTail) {
  const std::string rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  return {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
      {"_rels/.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"" +
           rels + "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml",
       "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
       "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"" +
           rels + "worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
      {"xl/worksheets/sheet1.xml",
       "<worksheet "
       "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
           sheetData + "</sheetData>" + sheetTail + "</worksheet>"},
  };
}

void AddWorkbookRelationship(std::map<std::string, std::string>& parts, const std::string& id,
                             const std::string& type, const std::string& target) {
  std::string& rels = parts["xl/_rels/workbook.xml.rels"];
  rels.insert(rels.find("</Relationships>"),
              "<Relationship Id=\"" + id +
                  "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" +
                  type + "\" Target=\"" + target + "\"/>");
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int RunTestScript(const std::string& script, const std::string& args, const std::string& log) {
  const std::string path = (std::filesystem::path(TEZLO_TEST_DIR) / script).string();
  const std::string command = "/usr/bin/python3 '" + path + "' " + args + " > '" + log + "' 2>&1";
  return std::system(command.c_str());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace tezlo::testing
