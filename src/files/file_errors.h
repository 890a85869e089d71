// The errors of the file layer. Each what() is one line that names the file and a cause the user
// can act on.
#pragma once

#include <stdexcept>
#include <string>

namespace tezlo {

// A file that cannot be read or written.
class FileError : public std::runtime_error {
 public:
  explicit FileError(const std::string& what) : std::runtime_error(what) {}
};

// A fault found inside one part by a reader that does not know the file's name; the loader
// turns it into a FileError that names the file.
class PartError : public std::runtime_error {
 public:
  explicit PartError(const std::string& what) : std::runtime_error(what) {}
};

// The file to replace is read-only (no write permission for anyone); replacing it needs the
// user's explicit word.
class ReadOnlyFileError : public FileError {
 public:
  using FileError::FileError;
};

// Another program holds the workbook open (its lock file names a live owner).
class LockedFileError : public FileError {
 public:
  LockedFileError(const std::string& what, std::string owner)
      : FileError(what), owner_(std::move(owner)) {}
  const std::string& Owner() const { return owner_; }

 private:
  std::string owner_;
};

}  // namespace tezlo
