// What the loader drops or hides without an error, reported to an observer
// for the check mode (zus -c). A run has no observer and loads as always.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zu {

// Positions are 1-based character offsets in the file, counted like the
// Position of a statement record (the lines joined with CR LF); path is the
// FileName of the script being loaded (a full path, empty for a source
// without file). Nothing is reported for the auto-import/auto-include prelude.
class TZuLoadObserver {
 public:
  virtual ~TZuLoadObserver() = default;

  // Whether Import statements load and start their modules. A check loads
  // nothing, so no module code runs.
  virtual bool LoadsModules() const = 0;
  // The end of the text dropped a statement that no ";" or "{" ended.
  virtual void StatementDropped(const std::string& path, int32_t position,
                                std::string_view text) = 0;
  // The block of the statement at position (keyword as written in the
  // keyword table) was still open when the text ended.
  virtual void BlockOpenAtEnd(const std::string& path, int32_t position,
                              std::string_view keyword) = 0;
  // A "/*" comment at position runs to the end of the text.
  virtual void CommentOpenAtEnd(const std::string& path, int32_t position) = 0;
  // An "@" comment at position stands right before a line end, so its scan
  // skips that line end and hides the next line (hidden: that line's text).
  virtual void LineHidden(const std::string& path, int32_t position, std::string_view hidden) = 0;
};

}  // namespace zu
