// TFileFinder: lists a directory's entries, optionally descending into its
// subdirectories breadth first (class "TFILEFINDER").
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "modules/io/zuscriptx_tools.h"
#include "platform/platform.h"

namespace zu::io {

class TZuScriptX_FileFinder : public TZuScriptX_TableObject<TZuScriptX_FileFinder> {
 public:
  TZuScriptX_FileFinder(std::string className, std::string objectName);

 private:
  static const Method kMethods[];
  static const Property kProperties[];

  // The getter of one time of FindData, for the property table.
  template <platform::FileTime platform::DirEntry::*Time>
  static bool EntryTime(TZuScriptX_FileFinder& finder, ScriptValue& value);

  // Opens a search of every entry of dir and puts its first entry into
  // FindData; false when the directory cannot be read (no search open) or
  // holds nothing (the search stays open and answers no further entry).
  bool StartSearch(const std::string& dir);
  // The next entry of the open search into FindData; false at the end,
  // with the last entry left there described.
  bool NextEntry();
  // Completes the entry in FindData (size and times, the read-only bit).
  void DescribeFindData();
  void CloseSearch();
  // From the entry in FindData to the next one to report in this directory.
  bool NextMatch();
  bool FindFirst(const std::string& searchText);
  bool FindNext();

  // The platform search of the directory being searched. An empty
  // directory is an open search without a platform search behind it.
  bool searchOpen_ = false;
  platform::DirSearch search_;

  platform::DirEntry FindData;
  std::string SearchSpec;
  std::string SearchDir;
  std::string SearchMask;
  std::deque<std::string> PendingDirs;
  bool Recursive = false;
};

}  // namespace zu::io
