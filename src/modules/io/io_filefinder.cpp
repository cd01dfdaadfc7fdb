// TFileFinder: the search state machine over platform directory listings,
// the breadth-first queue of subdirectories and the entry's properties.
#include "modules/io/io_filefinder.h"

#include "modules/io/io_file.h"
#include "platform/path_names.h"
#include "support/wildcard.h"

namespace zu::io {

namespace {

// Before any search the times are a zero FILETIME, which counts from
// 1601-01-01 UTC; the time properties convert that date like any other.
constexpr int64_t kFileTimeEpochSeconds = -11644473600;

platform::DirEntry EmptyFindData() {
  platform::DirEntry entry;
  entry.Creation.Seconds = entry.LastAccess.Seconds = entry.LastWrite.Seconds =
      kFileTimeEpochSeconds;
  return entry;
}

}  // namespace

template <platform::FileTime platform::DirEntry::*Time>
bool TZuScriptX_FileFinder::EntryTime(TZuScriptX_FileFinder& finder, ScriptValue& value) {
  value = ScriptValue::Float(FileTimeToDays(finder.FindData.*Time));
  return true;
}

const TZuScriptX_FileFinder::Method TZuScriptX_FileFinder::kMethods[] = {
    {"FindFirst", 1,
     [](TZuScriptX_FileFinder& ff, const Values& values, ScriptValue& result) {
       result = ScriptValue::Boolean(ff.FindFirst(ToText(values[0])));
       return true;
     }},
    {"FindNext", 0,
     [](TZuScriptX_FileFinder& ff, const Values&, ScriptValue& result) {
       if (!ff.searchOpen_) return Fail("Invalid find handle");
       result = ScriptValue::Boolean(ff.FindNext());
       return true;
     }},
    {"FindClose", 0,
     [](TZuScriptX_FileFinder& ff, const Values&, ScriptValue&) {
       ff.CloseSearch();
       return true;
     }},
};

// The properties describe the entry in FindData: the last one found, or
// zeros before any search. Only Recursive can be written.
const TZuScriptX_FileFinder::Property TZuScriptX_FileFinder::kProperties[] = {
    {"Recursive",
     [](TZuScriptX_FileFinder& ff, ScriptValue& value) {
       value = ScriptValue::Boolean(ff.Recursive);
       return true;
     },
     [](TZuScriptX_FileFinder& ff, const ScriptValue& value) {
       ff.Recursive = ToBoolean(value);
       return true;
     }},
    {"FileAttributes",
     [](TZuScriptX_FileFinder& ff, ScriptValue& value) {
       value = ScriptValue::Integer(static_cast<int32_t>(ff.FindData.Attributes));
       return true;
     },
     nullptr},
    {"CreationTime", EntryTime<&platform::DirEntry::Creation>, nullptr},
    {"LastAccessTime", EntryTime<&platform::DirEntry::LastAccess>, nullptr},
    {"LastWriteTime", EntryTime<&platform::DirEntry::LastWrite>, nullptr},
    {"FileSize",
     [](TZuScriptX_FileFinder& ff, ScriptValue& value) {
       value = ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(ff.FindData.Size)));
       return true;
     },
     nullptr},
    {"FileName",
     [](TZuScriptX_FileFinder& ff, ScriptValue& value) {
       value = ScriptValue::Text(ff.SearchDir + ff.FindData.Name);
       return true;
     },
     nullptr},
};

TZuScriptX_FileFinder::TZuScriptX_FileFinder(std::string className, std::string objectName)
    : TZuScriptX_TableObject(std::move(className), std::move(objectName), kMethods, kProperties),
      FindData(EmptyFindData()) {}

bool TZuScriptX_FileFinder::StartSearch(const std::string& dir) {
  CloseSearch();
  platform::DirEntry entry;
  if (!search_.Start(dir, entry)) {
    // An empty directory (the listing ends at once with code 2) is a search
    // with nothing in it, as on Windows, whose listing still holds "." and
    // ".."; a directory that cannot be read is no search at all.
    bool empty = platform::LastError() == platform::ErrorCode(platform::ErrorKind::FileNotFound) &&
                 platform::DirectoryExists(dir.empty() ? std::string(".") : dir);
    searchOpen_ = empty;
    return false;
  }
  FindData = std::move(entry);
  searchOpen_ = true;
  return true;
}

bool TZuScriptX_FileFinder::NextEntry() {
  if (!searchOpen_ || !search_.IsOpen()) return false;
  platform::DirEntry entry;
  if (!search_.Next(entry)) {
    // The last entry of the listing stays in FindData.
    DescribeFindData();
    return false;
  }
  FindData = std::move(entry);
  return true;
}

// An entry is described (its status asked for) only when it stays in
// FindData for the script to see: when it is reported, or when it is the
// last of its listing. Entries passed over cost nothing more.
void TZuScriptX_FileFinder::DescribeFindData() {
  if (FindData.Described) return;
  search_.Describe(FindData);
  // Directories have no size of their own to report.
  if ((FindData.Attributes & platform::kAttrDirectory) != 0) FindData.Size = 0;
}

void TZuScriptX_FileFinder::CloseSearch() {
  searchOpen_ = false;
  search_.Close();
}

bool TZuScriptX_FileFinder::NextMatch() {
  for (;;) {
    if ((FindData.Attributes & platform::kAttrDirectory) != 0) {
      // Directories whose name starts with a dot are neither reported nor
      // searched; every other directory is reported, whatever the mask. A
      // link to a directory is never searched, so that a link cycle cannot
      // make the walk endless.
      if (FindData.Name.empty() || FindData.Name[0] != '.') {
        if (Recursive && (FindData.Attributes & platform::kAttrReparsePoint) == 0)
          PendingDirs.push_back(SearchDir + FindData.Name + platform::PathSeparator());
        DescribeFindData();
        return true;
      }
    } else if (WildcardMatch(FindData.Name, SearchMask, true)) {
      DescribeFindData();
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

}  // namespace zu::io
