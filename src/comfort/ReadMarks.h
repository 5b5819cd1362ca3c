#pragma once
// Which messages of a story the player has read, by record number, kept in
// the player's data folder so that it outlives the run. One file per story,
// named after the bytes of its scenario file.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Files.h"

namespace mirel {

class ReadMarks {
 public:
  // The file of the story whose scenario file holds `scenario`, in `folder`
  // (which ends with a separator).
  static std::string FileFor(const std::string& folder, const Bytes& scenario);
  // Reads the marks kept in `path`; an empty path keeps them in memory only.
  // A missing or damaged file counts as nothing read.
  void Load(const std::string& path);
  bool IsRead(int32_t record) const;
  void Mark(int32_t record);
  bool Dirty() const { return dirty_; }
  // Writes the file when something new was read; the folder is made first.
  void Save();
  const std::string& Path() const { return path_; }

 private:
  std::vector<bool> read_;
  std::string path_;
  bool dirty_ = false;
};

}  // namespace mirel
