// TKeyboard: polls the console input queue for key events without waiting
// (class "TKEYBOARD").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modules/io/zuscriptx_tools.h"
#include "platform/platform.h"

namespace zu::io {

class TZuScriptX_Keyboard : public TZuScriptX_TableObject<TZuScriptX_Keyboard> {
 public:
  // Raises EFailure "Can't get stdin handle. Error CODE" when standard
  // input has no handle.
  TZuScriptX_Keyboard(std::string className, std::string objectName);

 private:
  static const Method kMethods[];
  static const Property kProperties[];

  // The getter of one integer field of InputRecord, for the property table.
  template <auto Field>
  static bool RecordInteger(TZuScriptX_Keyboard& keyboard, ScriptValue& value);

  bool Read();

  intptr_t InputHandle = -1;  // not owned, never closed
  platform::InputRecord InputRecord;
};

}  // namespace zu::io
