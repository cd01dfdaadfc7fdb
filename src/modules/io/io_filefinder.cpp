// TFileFinder: the search state machine over platform directory listings,
// the breadth-first queue of subdirectories and the entry's properties.
#include "modules/io/io_filefinder.h"

#include "modules/io/io_file.h"
#include "platform/path_names.h"
#include "support/wildcard.h"

namespace zu::io {

namespace {

// A zeroed file time of the original platform is its epoch, 1601-01-01 UTC;
// the time properties read that before any search.
constexpr int64_t kFileTimeEpochSeconds = -11644473600;

platform::DirEntry EmptyFindData() {
  platform::DirEntry entry;
  entry.Creation.Seconds = entry.LastAccess.Seconds = entry.LastWrite.Seconds =
      kFileTimeEpochSeconds;
  return entry;
}

// Directories have no size of their own to report.
void TakeEntry(platform::DirEntry&& entry, platform::DirEntry& findData) {
  if ((entry.Attributes & platform::kAttrDirectory) != 0) entry.Size = 0;
  findData = std::move(entry);
}

}  // namespace

TZuScriptX_FileFinder::TZuScriptX_FileFinder(std::string class_name, std::string object_name)
    : TZuScriptX_Object(std::move(class_name), std::move(object_name)), FindData(EmptyFindData()) {
  AddFunction("FindFirst", 1);
  AddFunction("FindNext", 0);
  AddFunction("FindClose", 0);
  for (const char* name : {"Recursive", "FileAttributes", "CreationTime", "LastAccessTime",
                           "LastWriteTime", "FileSize", "FileName"}) {
    AddProperty(name);
  }
}

bool TZuScriptX_FileFinder::StartSearch(const std::string& dir) {
  CloseSearch();
  platform::DirEntry entry;
  if (!search_.Start(dir, entry)) {
    // An empty directory (the listing ends at once with code 2) is a search
    // with nothing in it, as on a file system that lists "." and ".." first;
    // a directory that cannot be read is no search at all.
    bool empty = platform::LastError() == platform::ErrorCode(platform::ErrorKind::FileNotFound) &&
                 platform::DirectoryExists(dir.empty() ? std::string(".") : dir);
    search_open_ = empty;
    return false;
  }
  TakeEntry(std::move(entry), FindData);
  search_open_ = true;
  return true;
}

bool TZuScriptX_FileFinder::NextEntry() {
  if (!search_open_ || !search_.IsOpen()) return false;
  platform::DirEntry entry;
  if (!search_.Next(entry)) return false;
  TakeEntry(std::move(entry), FindData);
  return true;
}

void TZuScriptX_FileFinder::CloseSearch() {
  search_open_ = false;
  search_.Close();
}

bool TZuScriptX_FileFinder::NextMatch() {
  for (;;) {
    if ((FindData.Attributes & platform::kAttrDirectory) != 0) {
      // Directories whose name starts with a dot are neither reported nor
      // searched; every other directory is reported, whatever the mask. A
      // link or junction is not descended into, so a cycle of them cannot
      // make a walk endless.
      if (FindData.Name.empty() || FindData.Name[0] != '.') {
        if (Recursive && (FindData.Attributes & platform::kAttrReparsePoint) == 0) {
          PendingDirs.push_back(SearchDir + FindData.Name + platform::PathSeparator());
        }
        return true;
      }
    } else if (WildcardMatch(FindData.Name, SearchMask, true)) {
      return true;
    }
    if (!NextEntry()) return false;
  }
}

bool TZuScriptX_FileFinder::FindFirst(const std::string& searchText) {
  SearchSpec = searchText;
  SearchDir = platform::ExtractFilePath(searchText);
  SearchMask = platform::ExtractFileName(searchText);
  PendingDirs.clear();
  CloseSearch();
  if (!StartSearch(SearchDir)) return false;
  return NextMatch();
}

bool TZuScriptX_FileFinder::FindNext() {
  bool found = NextEntry() && NextMatch();
  while (!found && !PendingDirs.empty()) {
    SearchDir = std::move(PendingDirs.front());
    PendingDirs.pop_front();
    found = StartSearch(SearchDir) && NextMatch();
  }
  return found;
}

bool TZuScriptX_FileFinder::CallFunction(const std::string& name,
                                         const std::vector<ScriptValue>& values, int last_index,
                                         ScriptValue& result) {
  if (!TZuScriptX_Object::CallFunction(name, values, last_index, result)) return false;
  std::string upper = platform::UpperText(name);
  if (upper == "FINDFIRST") {
    result = ScriptValue::Boolean(FindFirst(ToText(values[0])));
    return true;
  }
  if (upper == "FINDNEXT") {
    if (!search_open_) return Fail("Invalid find handle");
    result = ScriptValue::Boolean(FindNext());
    return true;
  }
  if (upper == "FINDCLOSE") {
    CloseSearch();
    return true;
  }
  return NotImplemented(name);
}

bool TZuScriptX_FileFinder::GetProperty(const std::string& name, ScriptValue& value) {
  if (!TZuScriptX_Object::GetProperty(name, value)) return false;
  std::string upper = platform::UpperText(name);
  if (upper == "RECURSIVE") {
    value = ScriptValue::Boolean(Recursive);
  } else if (upper == "FILEATTRIBUTES") {
    value = ScriptValue::Integer(static_cast<int32_t>(FindData.Attributes));
  } else if (upper == "FILESIZE") {
    value = ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(FindData.Size)));
  } else if (upper == "FILENAME") {
    value = ScriptValue::Text(SearchDir + FindData.Name);
  } else if (upper == "CREATIONTIME") {
    value = ScriptValue::Float(FileTimeToDays(FindData.Creation));
  } else if (upper == "LASTACCESSTIME") {
    value = ScriptValue::Float(FileTimeToDays(FindData.LastAccess));
  } else if (upper == "LASTWRITETIME") {
    value = ScriptValue::Float(FileTimeToDays(FindData.LastWrite));
  } else {
    return WriteOnly(name);
  }
  return true;
}

bool TZuScriptX_FileFinder::SetProperty(const std::string& name, const ScriptValue& value) {
  if (!TZuScriptX_Object::SetProperty(name, value)) return false;
  if (platform::UpperText(name) == "RECURSIVE") {
    Recursive = ToBoolean(value);
    return true;
  }
  return ReadOnly(name);
}

}  // namespace zu::io
