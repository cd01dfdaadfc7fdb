// TKeyboard: polls the console input queue for key events without waiting
// (class "TKEYBOARD").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modules/io/zuscriptx_tools.h"
#include "platform/platform.h"

namespace zu::io {

class TZuScriptX_Keyboard : public TZuScriptX_Object {
 public:
  // Raises EFailure "Can't get stdin handle. Error CODE" when standard
  // input has no handle.
  TZuScriptX_Keyboard(std::string class_name, std::string object_name);

  bool CallFunction(const std::string& name, const std::vector<ScriptValue>& values, int last_index,
                    ScriptValue& result) override;
  bool GetProperty(const std::string& name, ScriptValue& value) override;
  bool SetProperty(const std::string& name, const ScriptValue& value) override;

 private:
  bool Read();

  intptr_t InputHandle = -1;  // not owned, never closed
  platform::InputRecord InputRecord;
};

}  // namespace zu::io
